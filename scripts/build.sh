#!/bin/sh
# Configures and builds Orvane in build/ (or $ORVANE_BUILD).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" "$@"
