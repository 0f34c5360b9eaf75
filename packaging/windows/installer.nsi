; The Windows installer, made by tools/package.sh from the folder it packs the archive from:
;   makensis -DVERSION=<version> -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; It installs the 64-bit CLAP module where CLAP hosts look, the 64-bit VST 2 module into the
; folder the user chooses, the 32-bit modules on request (the component, or /WITH32 with /S),
; the README and the licence, and an uninstaller that the system's list of programs offers.
; /S installs silently; /D=<folder> chooses the VST 2 folder then.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Ombrafell"
!define VENDOR "Korvatune"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The uninstaller and the documents, apart from the plug-in folders hosts scan.
!define DATA_FOLDER "$PROGRAMFILES64\${VENDOR}\${PRODUCT}"

; The 32-bit folders as 64-bit Windows names them in the registry's 64-bit view.
Var ProgramsFolder32
Var CommonFolder32

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\VSTPlugins"

!define MUI_COMPONENTSPAGE_NODESC
!define MUI_DIRECTORYPAGE_TEXT_TOP "The folder your host scans for VST 2 plug-ins. The CLAP plug-in goes into the common CLAP folder, where every CLAP host looks."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 plug-in folder"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "CLAP plug-in (64-bit)" SectionClap
    SetOutPath "$COMMONFILES64\CLAP"
    File "${STAGE}\x86_64\Ombrafell.clap"
SectionEnd

Section "VST 2 plug-in (64-bit)" SectionVst2
    SetOutPath "$INSTDIR"
    File "${STAGE}\x86_64\Ombrafell.dll"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Vst2Folder" "$INSTDIR"
SectionEnd

Section /o "32-bit plug-ins, for 32-bit hosts" Section32
    SetOutPath "$CommonFolder32\CLAP"
    File "${STAGE}\i686\Ombrafell.clap"
    SetOutPath "$ProgramsFolder32\VSTPlugins"
    File "${STAGE}\i686\Ombrafell.dll"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "With32Bit" 1
SectionEnd

Section "-Documents and uninstaller"
    SetOutPath "${DATA_FOLDER}"
    File "${STAGE}\README.txt" "${STAGE}\LICENSE.txt"
    WriteUninstaller "${DATA_FOLDER}\Uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "${DATA_FOLDER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${DATA_FOLDER}\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${DATA_FOLDER}\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The registry's 64-bit view, where the system's list of programs reads a 64-bit program.
!macro FindFolders
    SetRegView 64
    ReadRegStr $ProgramsFolder32 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir (x86)"
    ReadRegStr $CommonFolder32 HKLM "Software\Microsoft\Windows\CurrentVersion" "CommonFilesDir (x86)"
    ${If} $ProgramsFolder32 == ""
        StrCpy $ProgramsFolder32 $PROGRAMFILES32
    ${EndIf}
    ${If} $CommonFolder32 == ""
        StrCpy $CommonFolder32 $COMMONFILES32
    ${EndIf}
!macroend

Function .onInit
    !insertmacro FindFolders
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/WITH32" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${Section32} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro FindFolders
FunctionEnd

; Only what the installer put down goes: the VST 2 module from the folder chosen then, the
; 32-bit modules if they were installed.
Section "Uninstall"
    Delete "$COMMONFILES64\CLAP\Ombrafell.clap"
    RMDir "$COMMONFILES64\CLAP"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Vst2Folder"
    ${If} $0 != ""
        Delete "$0\Ombrafell.dll"
        RMDir "$0"
    ${EndIf}
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "With32Bit"
    ${If} $1 == 1
        Delete "$CommonFolder32\CLAP\Ombrafell.clap"
        RMDir "$CommonFolder32\CLAP"
        Delete "$ProgramsFolder32\VSTPlugins\Ombrafell.dll"
        RMDir "$ProgramsFolder32\VSTPlugins"
    ${EndIf}
    Delete "${DATA_FOLDER}\README.txt"
    Delete "${DATA_FOLDER}\LICENSE.txt"
    Delete "${DATA_FOLDER}\Uninstall.exe"
    RMDir "${DATA_FOLDER}"
    RMDir "$PROGRAMFILES64\${VENDOR}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
