#!/usr/bin/env bash
# Builds the instrument and the CLI, then renders every factory program to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh

bash tools/install-deps.sh
cmake --preset release -B build
cmake --build build -j "$(nproc)" --target ombrafell Ombrafell
./build/host/ombrafell bank -o out "$@"
