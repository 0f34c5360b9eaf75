#include "editor/DrawTestEditor.h"

#include "platform/TextPaths.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramFile.h"

namespace Korvatune {

namespace {

Gui::FileSelectRequest waveformFileRequest() {
    return {Gui::FileSelectCommand::Load,
            "Open waveform file",
            {{"RAW File", "RAW", "raw", "audio/raw", "audio/raw"},
             {"Wave File", "WAVE", "wav", "audio/wav", "audio/x-wav"}},
            {}};
}

Gui::FileSelectRequest programFileRequest(Gui::FileSelectCommand command, const char* title) {
    return {command,
            title,
            {{kProgramFileTypeName, "OBP", kProgramFileExtension, kProgramFileMimeType,
              kProgramFileMimeType}},
            {}};
}

bool isUserWaveform(float value) {
    const int index = WaveformProvider::waveformIndex(value);
    return index >= WaveformProvider::kFirstUserWaveform &&
           index < WaveformProvider::kFirstUserWaveform + WaveformProvider::kNumUserWaveforms;
}

} // namespace

// User tables are replaced only while no block renders, and only the user slot that
// oscillator 1 plays is ever written.
bool DrawTestEditor::canLoadWaveformFile() {
    return !synth_.isRunning() && isUserWaveform(synth_.getParameter(kOscWaveform));
}

void DrawTestEditor::openWaveformFile() {
    if (!fileSelector_ || !canLoadWaveformFile()) {
        return;
    }
    fileSelector_->select(waveformFileRequest(), [this](auto chosen) {
        if (chosen) {
            loadChosenWaveform(*chosen);
        }
    });
}

// A dialog of its own answers later, by which time the host may have resumed processing.
void DrawTestEditor::loadChosenWaveform(const std::filesystem::path& path) {
    if (!canLoadWaveformFile()) {
        return;
    }
    if (synth_.getWaveformProvider()->loadUserWaveform(Platform::pathToUtf8(path).c_str(),
                                                       synth_.getParameter(kOscWaveform))) {
        synth_.reportStateChange();
        for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
            refreshWaveformPicture(oscillator);
        }
    }
}

void DrawTestEditor::loadProgramFile() {
    if (!fileSelector_) {
        return;
    }
    fileSelector_->select(programFileRequest(Gui::FileSelectCommand::Load, "Load OB program file"),
                          [this](auto chosen) {
                              if (chosen) {
                                  loadChosenProgram(*chosen);
                              }
                          });
}

// An unreadable file leaves the program as it was; selecting it again and refreshing is
// harmless then. Every value counts as an edit of the user's.
void DrawTestEditor::loadChosenProgram(const std::filesystem::path& path) {
    readProgramFile(synth_.currentProgram(), Platform::pathToUtf8(path).c_str());
    synth_.setProgram(synth_.getProgram());
    synth_.reportStateChange();
    refreshEverything();
    for (int index = 0; index < kNumProgramKeys; ++index) {
        reportEdit(index);
    }
}

void DrawTestEditor::saveProgramFile() {
    if (!fileSelector_) {
        return;
    }
    fileSelector_->select(programFileRequest(Gui::FileSelectCommand::Save, "Save OB program file"),
                          [this](auto chosen) {
                              if (chosen) {
                                  writeProgramFile(Platform::pathToUtf8(*chosen).c_str(),
                                                   synth_.currentProgram());
                              }
                          });
}

} // namespace Korvatune
