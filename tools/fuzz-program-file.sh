#!/usr/bin/env bash
# Builds the program file reader's fuzzer with clang and runs it for a bounded time, starting
# from the files the writer makes of the factory bank.
#   tools/fuzz-program-file.sh [SECONDS]      (default 60; FUZZ_SECONDS works too)
# The corpus grows in $FUZZ_BUILD_DIR/program-file-corpus; findings land in
# $FUZZ_BUILD_DIR/program-file-findings and end the script with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${FUZZ_SECONDS:-60}}
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOMBRAFELL_BUILD_FUZZERS=ON -DOMBRAFELL_BUILD_TESTS=OFF -DOMBRAFELL_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j "$jobs" --target program_file_fuzzer program_file_seeds

corpus=$build/program-file-corpus
findings=$build/program-file-findings
mkdir -p "$corpus" "$findings"
"$build/fuzz/program_file_seeds" "$corpus"
"$build/fuzz/program_file_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$findings/" "$corpus"
