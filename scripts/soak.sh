#!/bin/sh
# Builds orvane-soak and runs it under Wine in the build's own prefix: 10,000
# rounds of the real frame over the scripted IP helper unless told otherwise.
# usage: scripts/soak.sh [--rounds N] [--bound-kib K] [--about-every M] [--long-summary] [--check]
# The figures of a full run go into bench/SOAK.md by hand, with date, machine and Wine version.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" --target orvane-soak localization
[ $# -gt 0 ] || set -- --rounds 10000 --check
cd "$build/bin"
status="$(mktemp)"
trap 'rm -f "$status"' EXIT
{ "$build/wine-run.sh" ./orvane-soak.exe "$@"; echo $? >"$status"; } | tr -d '\r'
exit "$(cat "$status")"
