#!/usr/bin/env bash
# Fuzzes the program file reader: tools/fuzz-program-file.sh [SECONDS] (see tools/fuzz.sh).
exec bash "$(dirname "$0")/fuzz.sh" program-file "$@"
