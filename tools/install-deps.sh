#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing: the
# 32-bit engine tests take the multilib compilers, GoogleTest's sources and qemu-i386.
set -euo pipefail

packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpng-dev zlib1g-dev libstb-dev libx11-dev libsndfile1-dev xvfb
          lv2-dev sordi liblilv-dev libsuil-dev g++-multilib qemu-user googletest)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
