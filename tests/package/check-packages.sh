#!/usr/bin/env bash
# Checks what tools/package.sh wrote, without installing anything on this machine:
#   bash tests/package/check-packages.sh DIST [LV2BUNDLE_TESTS [VST3_TESTS]]
# LV2BUNDLE_TESTS, the lilv test host of a build (tests/lv2bundle_tests), also loads the packaged
# LV2 bundle and plays it against the packaged VST 2 module; VST3_TESTS, the VST 3 test host of a
# build (tests/vst3_tests), loads the packaged VST 3 bundle.
set -euo pipefail
cd "$(dirname "$0")/../.."

dist=$(realpath "$1")
lv2_host=${2:-}
vst3_host=${3:-}
work=$(mktemp -d /tmp/ombrafell-package-check-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*" >&2; }

deb=$(find "$dist" -maxdepth 1 -name 'ombrafell_*_amd64.deb' | head -n 1)
zip=$(find "$dist" -maxdepth 1 -name 'Ombrafell-*-windows.zip' | head -n 1)
setup=$(find "$dist" -maxdepth 1 -name 'Ombrafell-*-setup.exe' | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $dist" >&2; exit 1; }
[ -n "$zip" ] || { echo "FAIL: no Windows archive in $dist" >&2; exit 1; }
[ -n "$setup" ] || { echo "FAIL: no Windows installer in $dist" >&2; exit 1; }
version=$(basename "$deb" | sed -E 's/^ombrafell_(.*)_amd64\.deb$/\1/')

(cd "$dist" && sha256sum --check --quiet SHA256SUMS) && pass "SHA256SUMS" || fail "SHA256SUMS"
[ "$(basename "$zip")" = "Ombrafell-$version-windows.zip" ] && pass "one version in both names" ||
    fail "the archive's version differs from the package's ($version)"
[ "$(basename "$setup")" = "Ombrafell-$version-setup.exe" ] &&
    pass "the installer has the package's version" ||
    fail "the installer's version differs from the package's ($version)"

# The Debian package.
root=$work/deb
dpkg-deb -x "$deb" "$root"
expected=(usr/bin/ombrafell usr/lib/vst/Ombrafell.so usr/share/man/man1/ombrafell.1.gz
          usr/share/doc/ombrafell/README.md usr/share/doc/ombrafell/copyright
          usr/share/doc/ombrafell/changelog.gz usr/lib/lv2/Ombrafell.lv2/manifest.ttl
          usr/lib/lv2/Ombrafell.lv2/ombrafell.ttl usr/lib/lv2/Ombrafell.lv2/presets.ttl
          usr/lib/lv2/Ombrafell.lv2/ombrafell.so
          usr/lib/vst3/Ombrafell.vst3/Contents/x86_64-linux/Ombrafell.so
          usr/lib/vst3/Ombrafell.vst3/Contents/Resources/moduleinfo.json)
expected+=(usr/lib/clap/Ombrafell.clap)
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] && pass "$file" || fail "$file is missing from the package"
done
[ "$(dpkg-deb -f "$deb" Package)" = ombrafell ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "section"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' && pass "dependencies from the binaries" ||
    fail "no dependencies computed from the binaries"

[ "$("$root/usr/bin/ombrafell" --version | head -n 1)" = "ombrafell $version" ] &&
    pass "ombrafell --version" || fail "ombrafell --version does not print $version"
"$root/usr/bin/ombrafell" --version | grep -q 'GPL-3.0-or-later' &&
    pass "ombrafell --version names the licence" || fail "ombrafell --version names no licence"
copyright=$root/usr/share/doc/ombrafell/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" &&
    grep -qx 'License: GPL-3+' "$copyright" &&
    grep -q '/usr/share/common-licenses/GPL-3' "$copyright" &&
    pass "the copyright file is machine-readable and names GPL-3+" ||
    fail "the copyright file is not Debian's format naming GPL-3+"
if "$root/usr/bin/ombrafell" render --plugin "$root/usr/lib/vst/Ombrafell.so" -p 0 \
    -o "$work/program0.wav" >"$work/render.txt" 2>&1 && [ -s "$work/program0.wav" ] &&
    ! grep -q -- '-inf' "$work/render.txt"; then
    pass "the packaged module renders program 0"
else
    fail "the packaged module does not render program 0: $(cat "$work/render.txt")"
fi

bundle=$root/usr/lib/lv2/Ombrafell.lv2
sh tests/lv2bundle/validate-bundle.sh "$bundle" >"$work/validate.txt" 2>&1 &&
    pass "lv2_validate accepts the packaged bundle" ||
    fail "lv2_validate: $(cat "$work/validate.txt")"
if [ -n "$lv2_host" ]; then
    if OMBRAFELL_TEST_LV2_BUNDLE=$bundle OMBRAFELL_TEST_VST2_MODULE=$root/usr/lib/vst/Ombrafell.so \
        "$lv2_host" --gtest_filter='Lv2Binary.*:Lv2Bundle.*:Lv2BundleSound.*' >"$work/lilv.txt" 2>&1; then
        pass "the packaged bundle loads in the lilv host and plays as the packaged VST 2 module"
    else
        fail "the lilv host on the packaged bundle:"
        cat "$work/lilv.txt" >&2
    fi
fi

vst3_bundle=$root/usr/lib/vst3/Ombrafell.vst3
vst3_exports=$(nm -D --defined-only "$vst3_bundle/Contents/x86_64-linux/Ombrafell.so" |
    awk '{print $3}' | sort | tr '\n' ' ')
[ "$vst3_exports" = "GetPluginFactory ModuleEntry ModuleExit " ] &&
    pass "the VST 3 binary exports its three entry points" ||
    fail "the VST 3 binary exports: $vst3_exports"
if [ -n "$vst3_host" ]; then
    if OMBRAFELL_TEST_VST3_BUNDLE=$vst3_bundle "$vst3_host" --gtest_filter='-Vst3Editor.*' \
        >"$work/vst3.txt" 2>&1; then
        pass "the packaged VST 3 bundle loads in the test host and plays as the VST 2 module"
    else
        fail "the VST 3 test host on the packaged bundle:"
        cat "$work/vst3.txt" >&2
    fi
fi
scan_status=0
sh tests/vst3/scan-with-ardour.sh "$vst3_bundle" >"$work/ardour.txt" 2>&1 || scan_status=$?
case $scan_status in
0) pass "Ardour's scanner indexes the packaged VST 3 bundle" ;;
77) echo "skip: Ardour's scanner is not installed" >&2 ;;
*) fail "Ardour's scanner on the packaged VST 3 bundle: $(cat "$work/ardour.txt")" ;;
esac

# OMBRAFELL_CLAP_TESTS, the CLAP test host of a build (tests/clap/clap_tests), also loads the
# packaged CLAP module and plays it against the packaged VST 2 module.
clap_module=$root/usr/lib/clap/Ombrafell.clap
sh tests/clap/check-exports.sh "$clap_module" >"$work/clap-exports.txt" 2>&1 &&
    pass "the CLAP module exports only clap_entry" ||
    fail "$(cat "$work/clap-exports.txt")"
if [ -n "${OMBRAFELL_CLAP_TESTS:-}" ]; then
    if OMBRAFELL_TEST_CLAP_MODULE=$clap_module \
        OMBRAFELL_TEST_VST2_MODULE=$root/usr/lib/vst/Ombrafell.so "$OMBRAFELL_CLAP_TESTS" \
        --gtest_filter='-ClapEditor.*' >"$work/clap.txt" 2>&1; then
        pass "the packaged CLAP module loads in the test host and plays as the packaged VST 2 module"
    else
        fail "the CLAP test host on the packaged module:"
        cat "$work/clap.txt" >&2
    fi
fi

lintian_report=$work/lintian.txt
lintian --no-tag-display-limit "$deb" >"$lintian_report" 2>&1 || true
if grep -q '^E:' "$lintian_report"; then
    fail "lintian reports errors:"
    grep '^E:' "$lintian_report" >&2
else
    pass "lintian reports no error"
fi
grep -E '^[WI]:' "$lintian_report" >&2 || true

# The Windows archive.
listing=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt Ombrafell.vst3/Contents/Resources/moduleinfo.json Ombrafell.vst3/Contents/x86-win/Ombrafell.vst3 Ombrafell.vst3/Contents/x86_64-win/Ombrafell.vst3 README.txt i686/Ombrafell.clap i686/Ombrafell.dll x86_64/Ombrafell.clap x86_64/Ombrafell.dll " ] &&
    pass "the archive holds exactly the listed files" || fail "the archive holds: $listing"
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
for arch in i686 x86_64; do
    exports=$("$arch-w64-mingw32-objdump" -p "$work/zip/$arch/Ombrafell.dll" 2>/dev/null |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' |
        sort | tr '\n' ' ')
    [ "$exports" = "VSTPluginMain main " ] && pass "$arch DLL exports its two entry points" ||
        fail "$arch DLL exports: $exports"
    OBJDUMP=$arch-w64-mingw32-objdump sh tests/clap/check-exports.sh \
        "$work/zip/$arch/Ombrafell.clap" >"$work/clap-exports.txt" 2>&1 &&
        pass "$arch CLAP module exports only clap_entry" || fail "$(cat "$work/clap-exports.txt")"
done
for contents in x86-win x86_64-win; do
    binary=$work/zip/Ombrafell.vst3/Contents/$contents/Ombrafell.vst3
    objdump=i686-w64-mingw32-objdump
    [ "$contents" = x86-win ] || objdump=x86_64-w64-mingw32-objdump
    exports=$("$objdump" -p "$binary" 2>/dev/null |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' |
        sort | tr '\n' ' ')
    [ "$exports" = "ExitDll GetPluginFactory InitDll " ] &&
        pass "$contents VST 3 binary exports its three entry points" ||
        fail "$contents VST 3 binary exports: $exports"
done

# The Windows installer, run under 64-bit wine; OMBRAFELL_WINDOWS_CLAP_TESTS, the Windows CLAP
# test program of a build (windows_clap_tests.exe), also plays the modules it installed.
bash tests/package/check-installer.sh "$setup" "$version" "${OMBRAFELL_WINDOWS_CLAP_TESTS:-}" \
    >"$work/installer.txt" 2>&1 &&
    pass "the installer installs under wine where the README says, and uninstalls" ||
    fail "the installer under wine: $(grep FAIL "$work/installer.txt" ||
        tail -n 5 "$work/installer.txt")"

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
echo "The packages pass their checks" >&2
