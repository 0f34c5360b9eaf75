#!/usr/bin/env bash
# Builds one of the fuzzers with clang and runs it for a bounded time, starting from the seeds
# its seed program writes.
#   tools/fuzz.sh NAME [SECONDS]      NAME: program-file or lv2-state; SECONDS default 60
#                                     (FUZZ_SECONDS works too)
# The corpus grows in $FUZZ_BUILD_DIR/NAME-corpus; findings land in $FUZZ_BUILD_DIR/NAME-findings
# and end the script with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/lib/compiler-cache.sh
source tools/lib/compiler-cache.sh

name=${1:?usage: tools/fuzz.sh program-file|lv2-state [SECONDS]}
seconds=${2:-${FUZZ_SECONDS:-60}}
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-2}
target=${name//-/_}
case $name in
program-file) max_len=4096 ;;
lv2-state) max_len=200000 ;;
*) echo "tools/fuzz.sh: no fuzzer named $name" >&2; exit 2 ;;
esac

cmake --preset fuzz -B "$build"
cmake --build "$build" -j "$jobs" --target "${target}_fuzzer" "${target}_seeds"

corpus=$build/$name-corpus
findings=$build/$name-findings
mkdir -p "$corpus" "$findings"
"$build/fuzz/${target}_seeds" "$corpus"
"$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -artifact_prefix="$findings/" "$corpus"
