#!/bin/sh
# Fails unless the module exports exactly clap_entry: the dynamic symbols an ELF module defines,
# or the names in a Windows module's export table (OBJDUMP names the objdump that reads it).
#   sh tests/clap/check-exports.sh MODULE
set -eu
module=$1
objdump=${OBJDUMP:-objdump}
if "$objdump" -p "$module" | grep -q 'Export Address Table'; then
    exports=$("$objdump" -p "$module" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' | sort | tr '\n' ' ')
else
    exports=$(nm -D --defined-only "$module" | awk '{print $NF}' | sort | tr '\n' ' ')
fi
if [ "$exports" != "clap_entry " ]; then
    echo "$module exports: $exports" >&2
    exit 1
fi
echo "$module exports only clap_entry"
