#!/bin/sh
# Validates a built LV2 bundle against the installed LV2 schemas; any error or warning fails.
#   validate-bundle.sh BUNDLE_FOLDER
set -u
report=$(lv2_validate "$1"/*.ttl 2>&1)
status=$?
echo "$report"
[ "$status" -eq 0 ] || exit 1
! echo "$report" | grep -Eiq '(^|[^a-z])(error|warning):'
