#!/bin/sh
# Indexes a VST 3 bundle with Ardour's own scanner, as Ardour does before it lists a plug-in:
#   sh tests/vst3/scan-with-ardour.sh BUNDLE
# Exits 77, which CTest counts as skipped, when Ardour's scanner is not installed.
set -eu
bundle=$1
scanner=$(ls /usr/lib/ardour*/ardour-vst3-scanner /usr/lib/*/ardour*/ardour-vst3-scanner \
    2>/dev/null | head -n 1 || true)
if [ -z "$scanner" ]; then
    echo "SKIPPED: Ardour's VST 3 scanner is not installed (apt-get install ardour)" >&2
    exit 77
fi
work=$(mktemp -d /tmp/ombrafell-ardour-scan-XXXXXX)
trap 'rm -rf "$work"' EXIT
# A fresh copy and a cache of its own, so that no earlier scan answers for this one.
cp -r "$bundle" "$work/Ombrafell.vst3"
LD_LIBRARY_PATH=$(dirname "$scanner") HOME=$work XDG_CACHE_HOME=$work/cache \
    "$scanner" -v -f "$work/Ombrafell.vst3" >"$work/scan.txt" 2>&1 || {
    cat "$work/scan.txt" >&2
    echo "FAIL: the scanner exits with an error" >&2
    exit 1
}
cat "$work/scan.txt"
for expected in 'Found Plugin: Ombrafell' 'name="Ombrafell"' 'vendor="Korvatune"' \
    'category="Instrument|Drum"' 'n_outputs="2"' 'n_midi_inputs="1"'; do
    grep -qF "$expected" "$work/scan.txt" || {
        echo "FAIL: the scan does not say $expected" >&2
        exit 1
    }
done
if grep -q '^\[\(Error\|Warning\)\]' "$work/scan.txt"; then
    echo "FAIL: the scanner reports errors or warnings" >&2
    exit 1
fi
echo "Ardour's scanner indexes the bundle"
