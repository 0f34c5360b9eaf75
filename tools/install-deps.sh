#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing: the
# 32-bit engine tests take the multilib compilers, GoogleTest's sources and qemu-i386.
set -euo pipefail

bash "$(dirname "$0")/apt-install-missing.sh" g++ cmake make pkg-config \
    libgtest-dev libgmock-dev libbenchmark-dev libpng-dev zlib1g-dev libstb-dev libx11-dev libxtst-dev \
    libsndfile1-dev xvfb lv2-dev sordi liblilv-dev libsuil-dev g++-multilib qemu-user googletest
