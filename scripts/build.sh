#!/usr/bin/env bash
# Configures and builds one preset (native or windows); arguments after the
# preset are target names, or options for the build tool.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:?usage: build.sh native|windows [targets...]}
shift
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
fi
# Bare names are targets: "build.sh windows Pausora" builds the program alone.
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
    set -- --target "$@"
fi
cmake --build --preset "$preset" -j "$jobs" "$@"
