#!/bin/sh
# Builds test_views, runs its fault matrix and writes docs/fault-matrix.md
# from the cells of the run. The table is only ever written by this script.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" --target test_views localization
cd "$build/bin"
rm -f fault-matrix.rows
status=0
ORVANE_FAULT_MATRIX='fault-matrix.rows' "$build/wine-run.sh" ./test_views.exe --gtest_brief=1 --gtest_filter='FaultMatrix.*' || status=$?
[ -s fault-matrix.rows ] || { echo "test_views wrote no cells" >&2; exit 1; }
cells=$(grep -c '^|' fault-matrix.rows)
passed=$(grep -c '| pass |$' fault-matrix.rows || true)
mkdir -p "$root/docs"
{
    echo "# Fault matrix"
    echo
    echo "Written by \`scripts/fault-matrix.sh\` from the test \`FaultMatrix\` of \`test_views\` on $(date -u '+%Y-%m-%d') under $(wine --version 2>/dev/null || echo Wine); do not edit by hand."
    echo
    echo "Each cell starts the real frame and its views over the scripted IP helper (three adapters, indexes 2, 3 and 5, with their"
    echo "interfaces), makes one function of the IP helper service fail and drives the view as a user does: the refresh command"
    echo "(40020) or a tab change. Every cell also checks that the platform was asked again, that no message box but the statistics"
    echo "one opened (its text, caption, error icon and single OK button), and that the scripted local heap holds no more blocks and"
    echo "the thread no more windows than before the failure. The failures differ from function to function; every way a query can"
    echo "fail (each probe answer, a refused allocation, a failed fill, data that grew) is the \`SizingProtocol\` case of \`test_netinfo\`,"
    echo "one table of every query and every outcome, since the views meet each outcome alike."
    echo
    echo "$cells cells, $passed passed."
    echo
    echo "| # | Function | Failure | Trigger | What the user sees | Result |"
    echo "|---|---|---|---|---|---|"
    tr -d '\r' < fault-matrix.rows
} > "$root/docs/fault-matrix.md"
echo "$root/docs/fault-matrix.md: $cells cells, $passed passed"
exit "$status"
