# shellcheck shell=bash
# Sourced by scripts that build: compiles through ccache when it is installed, through the
# variable CMake reads when it first configures a build folder. A launcher already set wins.
#   source tools/lib/compiler-cache.sh

if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
