#!/usr/bin/env bash
# Installs Ardour, whose VST 3 scanner the tests run on the bundle (tests/vst3/scan-with-ardour.sh;
# without it that test is skipped). Ardour takes about 30 MB to download and 215 MB on disk.
#   bash tools/install-vst3-scanner.sh
set -euo pipefail

bash "$(dirname "$0")/apt-install-missing.sh" ardour
