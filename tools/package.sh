#!/usr/bin/env bash
# Builds the packages a musician installs, from fresh build folders:
#   bash tools/package.sh [OUTDIR]     (default dist)
# writes OUTDIR/ombrafell_<version>_amd64.deb, OUTDIR/Ombrafell-<version>-windows.zip, the
# Windows installer OUTDIR/Ombrafell-<version>-setup.exe and OUTDIR/SHA256SUMS.
# OMBRAFELL_WINDOWS_BUILD names a folder of tools/build-windows.sh whose DLLs are packed instead
# of building them again (the test run does so).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh

out=$(realpath -m "${1:-dist}")
jobs=$(nproc)

bash tools/install-deps.sh
bash tools/install-package-deps.sh
if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
    echo "note: the working tree has uncommitted changes; the packages contain them" >&2
fi

work=$(mktemp -d /tmp/ombrafell-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== The Debian package" >&2
# Debian's hardening flags; plug-in hosts look in lib/vst and lib/lv2, not the multiarch folder.
cmake --preset package -B "$work/linux" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now" \
    -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,-z,now" >/dev/null
cmake --build "$work/linux" -j "$jobs"
version=$("$work/linux/host/ombrafell" --version | head -n 1 | cut -d' ' -f2)
(cd "$work/linux" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=ombrafell_${version}_$(dpkg --print-architecture).deb

echo "== The Windows archive" >&2
windows=${OMBRAFELL_WINDOWS_BUILD:-$work/windows}
[ -n "${OMBRAFELL_WINDOWS_BUILD:-}" ] || bash tools/build-windows.sh "$windows"
stage=$work/zip
mkdir -p "$stage/i686" "$stage/x86_64"
for arch in i686 x86_64; do
    cp "$windows/$arch/Ombrafell.dll" "$windows/$arch/Ombrafell.clap" "$stage/$arch/"
done
cp -r "$windows/Ombrafell.vst3" "$stage/"
# Texts for Windows readers get Windows line ends.
sed -e "s/@PROJECT_VERSION@/$version/g" -e 's/$/\r/' packaging/windows/README.txt.in \
    >"$stage/README.txt"
sed -e 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
zip=Ombrafell-${version}-windows.zip
(cd "$stage" && cmake -E tar cf "$work/$zip" --format=zip \
    i686/Ombrafell.dll x86_64/Ombrafell.dll i686/Ombrafell.clap x86_64/Ombrafell.clap \
    README.txt LICENSE.txt \
    Ombrafell.vst3/Contents/x86-win/Ombrafell.vst3 Ombrafell.vst3/Contents/x86_64-win/Ombrafell.vst3 \
    Ombrafell.vst3/Contents/Resources/moduleinfo.json)

echo "== The Windows installer" >&2
bash tools/apt-install-missing.sh nsis
setup=Ombrafell-${version}-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$work/$setup" \
    packaging/windows/installer.nsi >/dev/null

mkdir -p "$out"
cp "$work/deb/$deb" "$work/$zip" "$work/$setup" "$out/"
(cd "$out" && sha256sum "$deb" "$zip" "$setup" >SHA256SUMS)
echo "Wrote $out/$deb, $out/$zip, $out/$setup and $out/SHA256SUMS" >&2
