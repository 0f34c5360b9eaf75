#!/usr/bin/env bash
# Builds everything from scratch with warnings as errors and runs the whole test suite, again
# without the editor, under AddressSanitizer and UndefinedBehaviorSanitizer, then the threaded
# tests under ThreadSanitizer; then the engine's tests built for 32-bit Linux under qemu-i386;
# then the Windows modules and their tests under wine; then the packages. The configurations are
# the presets in CMakePresets.json.
#   bash tools/test.sh          (BUILD_DIR names the main build folder, default build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh
# shellcheck source=tools/lib/xvfb.sh
source tools/lib/xvfb.sh

bash tools/install-deps.sh
bash tools/install-vst3-scanner.sh
jobs=$(nproc)
build=${BUILD_DIR:-build-test}
cmake --preset dev -B "$build"
cmake --build "$build" -j "$jobs"

# The window tests need an X server; without one, a virtual server stands in, large enough for
# the editor at 200 %, which the gesture tests click on.
start_xvfb 99 1920x1200x24
ctest --test-dir "$build" --output-on-failure -j "$jobs"

no_editor=${build}-no-editor
cmake --preset no-editor -B "$no_editor"
cmake --build "$no_editor" -j "$jobs"
ctest --test-dir "$no_editor" --output-on-failure -j "$jobs"

asan=${build}-asan
cmake --preset asan -B "$asan"
cmake --build "$asan" -j "$jobs"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --test-dir "$asan" --output-on-failure -j "$jobs"

tsan=${build}-tsan
cmake --preset tsan -B "$tsan"
cmake --build "$tsan" -j "$jobs" --target threads_tests editor_tests lv2_tests
TSAN_OPTIONS="halt_on_error=1" ctest --test-dir "$tsan" --output-on-failure \
    -R '^(Concurrency|EditorConcurrency|Lv2Concurrency)\.'

# The engine's tests as 32-bit code, under qemu-i386.
bash tools/test-i686.sh "${build}-i686"

# The Windows tests bring their own virtual X server, sized for their windows.
DISPLAY='' bash tools/test-windows.sh "${build}-windows"

# The packages, built from fresh folders, unpacked and checked without installing them.
OMBRAFELL_WINDOWS_BUILD="${build}-windows" bash tools/package.sh "${build}-dist"
OMBRAFELL_CLAP_TESTS="$build/tests/clap/clap_tests" \
    OMBRAFELL_WINDOWS_CLAP_TESTS="${build}-windows/build-x86_64/tests/windows/windows_clap_tests.exe" \
    bash tests/package/check-packages.sh "${build}-dist" "$build/tests/lv2bundle_tests"
