#!/bin/sh
# Installs what is missing, builds everything and runs the whole test suite under Wine.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
