#!/usr/bin/env bash
# Cross-builds Ombrafell.dll for 32- and 64-bit Windows with mingw-w64:
#   bash tools/build-windows.sh [OUTDIR]     (default build-windows)
# leaves OUTDIR/i686/Ombrafell.dll and OUTDIR/x86_64/Ombrafell.dll. With
# OMBRAFELL_WINDOWS_TESTS=ON the test programs are built too (tools/test-windows.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-build-windows}
tests=${OMBRAFELL_WINDOWS_TESTS:-OFF}
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

bash tools/install-deps.sh
bash tools/install-windows-deps.sh

# The editor's artwork is drawn at build time by a program that has to run here.
cmake -S . -B "$out/native" "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DOMBRAFELL_BUILD_TESTS=OFF -DOMBRAFELL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$out/native" -j "$jobs" --target ombrafell_artwork
artwork=$(realpath "$out/native/resources/artwork/ombrafell_artwork")

for arch in i686 x86_64; do
    echo "== Ombrafell.dll for $arch" >&2
    cmake -S . -B "$out/build-$arch" "${launcher[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DOMBRAFELL_WERROR=ON \
        -DOMBRAFELL_ARTWORK_PROGRAM="$artwork" -DOMBRAFELL_BUILD_TESTS="$tests" >/dev/null
    cmake --build "$out/build-$arch" -j "$jobs"
    mkdir -p "$out/$arch"
    cp "$out/build-$arch/plugin/vst2/Ombrafell.dll" "$out/$arch/Ombrafell.dll"
done
echo "Built $out/i686/Ombrafell.dll and $out/x86_64/Ombrafell.dll" >&2
