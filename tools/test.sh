#!/usr/bin/env bash
# Builds everything from scratch with warnings as errors and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
build=${BUILD_DIR:-build-test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRAFELL_WERROR=ON
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
