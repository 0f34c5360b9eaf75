#!/usr/bin/env bash
# Installs the Windows installer under 64-bit wine in a fresh prefix, silently, checks that the
# files land where the README says and that the uninstaller takes them away again:
#   bash tests/package/check-installer.sh SETUP.EXE VERSION [CLAP_TESTS.EXE]
# Once with the defaults, once with the 32-bit modules and a VST 2 folder of the user's choice.
# Given the Windows CLAP test program (windows_clap_tests.exe), the installed 64-bit CLAP module
# and VST 2 DLL are also loaded and played against each other where they were installed.
set -euo pipefail

setup=$(realpath "$1")
version=$2
clap_tests=${3:+$(realpath "$3")}
prefix=$(mktemp -d /tmp/ombrafell-installer-XXXXXX)
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*" >&2; }

"$wine" wineboot -i >/dev/null 2>&1 || true
wineserver -w
drive=$prefix/drive_c
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrafell'

# Waits for the uninstaller, which runs on from a copy of itself after it was started.
run() {
    "$wine" "$@" >/dev/null 2>&1 || true
    wineserver -w
}

# The files of the product under drive C:, one path a line, sorted.
installed() {
    (cd "$drive" && find . -type f \( -iname 'Ombrafell*' -o -path './Program Files/Korvatune/*' \)) |
        sed 's|^\./||' | sort
}

# The test program plays the CLAP module against the VST 2 DLL, here both as installed.
play_installed() {
    [ -n "$clap_tests" ] || return 0
    if OMBRAFELL_TEST_CLAP_MODULE='C:\Program Files\Common Files\CLAP\Ombrafell.clap' \
        OMBRAFELL_TEST_VST2_MODULE='C:\Program Files\VSTPlugins\Ombrafell.dll' \
        "$wine" "$clap_tests" --gtest_filter='ClapSound.*' >"$prefix/play.txt" 2>&1; then
        pass "the installed CLAP module and VST 2 DLL load and play alike"
    else
        fail "the installed modules in the test host: $(tail -n 5 "$prefix/play.txt")"
    fi
}

check_round() {
    local name=$1 expected=$2
    shift 2
    run "$setup" /S "$@"
    [ "$(installed)" = "$expected" ] && pass "$name: installs the listed files" ||
        fail "$name: installed $(installed | tr '\n' ',')"
    # The round with the defaults also plays what it installed.
    [ $# -gt 0 ] || play_installed
    if "$wine" reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r' |
        grep -q "REG_SZ *$version\$"; then
        pass "$name: the system's list of programs offers the uninstaller"
    else
        fail "$name: no uninstall entry of version $version"
    fi
    run 'C:\Program Files\Korvatune\Ombrafell\Uninstall.exe' /S
    [ -z "$(installed)" ] && pass "$name: the uninstaller removes every file" ||
        fail "$name: left behind $(installed | tr '\n' ',')"
    "$wine" reg query "$uninstall_key" >/dev/null 2>&1 &&
        fail "$name: the uninstall entry stays" || pass "$name: the uninstall entry goes"
}

documents='Program Files/Korvatune/Ombrafell/LICENSE.txt
Program Files/Korvatune/Ombrafell/README.txt
Program Files/Korvatune/Ombrafell/Uninstall.exe'
check_round "defaults" "$(printf '%s\n' 'Program Files/Common Files/CLAP/Ombrafell.clap' \
    "$documents" 'Program Files/VSTPlugins/Ombrafell.dll' | sort)"
check_round "32-bit and a folder of one's own" "$(printf '%s\n' 'PlugIns/Vst2/Ombrafell.dll' \
    'Program Files (x86)/Common Files/CLAP/Ombrafell.clap' \
    'Program Files (x86)/VSTPlugins/Ombrafell.dll' \
    'Program Files/Common Files/CLAP/Ombrafell.clap' "$documents" | sort)" \
    /WITH32 '/D=C:\PlugIns\Vst2'

if [ "$failures" -ne 0 ]; then
    echo "$failures installer check(s) failed" >&2
    exit 1
fi
echo "The installer passes its checks" >&2
