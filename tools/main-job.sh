#!/usr/bin/env bash
# Builds the instrument and the CLI, then renders every factory program to out/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DOMBRAFELL_BUILD_TESTS=OFF
cmake --build build -j "$(nproc)" --target ombrafell Ombrafell
./build/host/ombrafell bank -o out "$@"
