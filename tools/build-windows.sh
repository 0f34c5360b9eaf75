#!/usr/bin/env bash
# Cross-builds Ombrafell.dll for 32- and 64-bit Windows with mingw-w64:
#   bash tools/build-windows.sh [OUTDIR]     (default build-windows)
# leaves OUTDIR/i686/Ombrafell.dll and OUTDIR/x86_64/Ombrafell.dll, and the VST 3 bundle
# OUTDIR/Ombrafell.vst3 with the binaries of both. With
# OMBRAFELL_WINDOWS_TESTS=ON the test programs are built too (tools/test-windows.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh

out=${1:-build-windows}
tests=${OMBRAFELL_WINDOWS_TESTS:-OFF}
jobs=$(nproc)

bash tools/install-deps.sh
bash tools/install-windows-deps.sh

for arch in i686 x86_64; do
    echo "== Ombrafell.dll for $arch" >&2
    cmake --preset "windows-$arch" -B "$out/build-$arch" -DOMBRAFELL_BUILD_TESTS="$tests" \
        >/dev/null
    cmake --build "$out/build-$arch" -j "$jobs"
    mkdir -p "$out/$arch"
    cp "$out/build-$arch/plugin/vst2/Ombrafell.dll" "$out/$arch/Ombrafell.dll"
    # The CLAP module goes beside the DLL of its architecture.
    cp "$out/build-$arch/plugin/clap/Ombrafell.clap" "$out/$arch/Ombrafell.clap"
done
# One VST 3 bundle holds both architectures' binaries, each in its own Contents folder.
rm -rf "$out/Ombrafell.vst3"
mkdir -p "$out/Ombrafell.vst3"
for arch in i686 x86_64; do
    cp -r "$out/build-$arch/plugin/vst3/Ombrafell.vst3/." "$out/Ombrafell.vst3/"
done
echo "Built $out/i686/Ombrafell.dll and $out/x86_64/Ombrafell.dll" >&2
