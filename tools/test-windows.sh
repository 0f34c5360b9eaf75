#!/usr/bin/env bash
# Builds both Windows modules with their test programs and runs the tests under wine, in a fresh
# wine prefix and, for the editor, on a virtual X server:
#   bash tools/test-windows.sh [OUTDIR]      (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/xvfb.sh
source tools/lib/xvfb.sh

out=${1:-build-windows}
OMBRAFELL_WINDOWS_TESTS=ON bash tools/build-windows.sh "$out"

prefix=$(mktemp -d /tmp/ombrafell-wine-XXXXXX)
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Wine needs an X server for windows; without one, a virtual server stands in. It stops after
# the cleanup above, so wine never outlives its display.
start_xvfb "${OMBRAFELL_WINDOWS_DISPLAY:-98}" 1024x768x24

# Both architectures share the prefix: a 64-bit prefix runs 32-bit programs too.
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
wineserver -w
architectures=(x86_64)
# 32-bit wine is itself a 32-bit Linux program; some kernels are built without support for them.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    architectures+=(i686)
else
    echo "!! This kernel cannot run 32-bit programs, so 32-bit wine cannot start:" >&2
    echo "!! the i686 module and its tests are built but NOT run." >&2
fi
for arch in "${architectures[@]}"; do
    echo "== Tests of the $arch module under wine" >&2
    ctest --test-dir "$out/build-$arch" --output-on-failure --timeout 600
done
