#!/usr/bin/env bash
# Builds everything from scratch with warnings as errors and runs the whole test suite, again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the threaded tests under
# ThreadSanitizer; then the engine's tests built for 32-bit Linux under qemu-i386; then the
# Windows modules and their tests under wine; then the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
jobs=$(nproc)
build=${BUILD_DIR:-build-test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRAFELL_WERROR=ON
cmake --build "$build" -j "$jobs"

# The window tests need an X server; without one, a virtual server stands in.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
    Xvfb :99 -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    export DISPLAY=:99
    for _ in $(seq 50); do
        [ -e /tmp/.X11-unix/X99 ] && break
        sleep 0.1
    done
fi
ctest --test-dir "$build" --output-on-failure -j "$jobs"

asan=${build}-asan
cmake -S . -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DOMBRAFELL_WERROR=ON \
    -DOMBRAFELL_SANITIZE=address,undefined -DOMBRAFELL_BUILD_BENCHMARKS=OFF
cmake --build "$asan" -j "$jobs"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --test-dir "$asan" --output-on-failure -j "$jobs"

tsan=${build}-tsan
cmake -S . -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRAFELL_WERROR=ON \
    -DOMBRAFELL_SANITIZE=thread -DOMBRAFELL_BUILD_BENCHMARKS=OFF
cmake --build "$tsan" -j "$jobs" --target threads_tests editor_tests lv2_tests
TSAN_OPTIONS="halt_on_error=1" ctest --test-dir "$tsan" --output-on-failure \
    -R '^(Concurrency|EditorConcurrency|Lv2Concurrency)\.'

# The engine's tests as 32-bit code, under qemu-i386.
bash tools/test-i686.sh "${build}-i686"

# The Windows tests bring their own virtual X server, sized for their windows.
DISPLAY= bash tools/test-windows.sh "${build}-windows"

# The packages, built from fresh folders, unpacked and checked without installing them.
OMBRAFELL_WINDOWS_BUILD="${build}-windows" bash tools/package.sh "${build}-dist"
bash tests/package/check-packages.sh "${build}-dist" "$build/tests/lv2bundle_tests"
