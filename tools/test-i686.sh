#!/usr/bin/env bash
# Builds the engine's tests and the exact golden digests for 32-bit x86 Linux, with the maths
# flags of the 32-bit DLL, and runs them under qemu-i386, so that 32-bit code generation is
# checked also on machines whose kernel cannot start 32-bit programs (where wine cannot run the
# 32-bit DLL's own tests):
#   bash tools/test-i686.sh [BUILDDIR]      (default build-i686)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh

build=${1:-build-i686}
jobs=$(nproc)

bash tools/install-deps.sh
cmake --preset linux-i686 -B "$build" >/dev/null
cmake --build "$build" -j "$jobs" --target programs_tests maths_tests filters_tests \
    waveforms_tests engine_tests golden_tests
ctest --test-dir "$build" --output-on-failure -j "$jobs"
