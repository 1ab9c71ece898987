#!/bin/sh
# Builds and runs the fault matrix (test_faults) and copies the table the run
# wrote into docs/fault-matrix.md. The table is only ever written by the run.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" --target test_faults localization
cd "$build"
rm -f fault-matrix.md
status=0
ctest -R '^(wine_prefix|test_faults)$' --output-on-failure || status=$?
if [ ! -f fault-matrix.md ]; then
    echo "test_faults wrote no table" >&2
    exit 1
fi
mkdir -p "$root/docs"
cp fault-matrix.md "$root/docs/fault-matrix.md"
grep -E '^[0-9]+ cells' "$root/docs/fault-matrix.md"
echo "$root/docs/fault-matrix.md"
exit "$status"
