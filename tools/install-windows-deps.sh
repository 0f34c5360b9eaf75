#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under wine need on Debian, only what is
# missing: the mingw-w64 compilers (the -posix variants bring std::thread), the GoogleTest
# sources to build for Windows, and wine for 64- and 32-bit programs.
set -euo pipefail

bash "$(dirname "$0")/apt-install-missing.sh" g++-mingw-w64-i686-posix \
    g++-mingw-w64-x86-64-posix googletest libstb-dev wine wine64 wine32:i386 xvfb
