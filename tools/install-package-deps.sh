#!/usr/bin/env bash
# Installs what packaging and its checks need on Debian, only what is missing: dpkg-dev
# (dependencies from the binaries, build flags) and lintian.
set -euo pipefail

bash "$(dirname "$0")/apt-install-missing.sh" dpkg-dev lintian
