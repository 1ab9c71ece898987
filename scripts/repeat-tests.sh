#!/bin/sh
# Runs the whole suite N times in a row, three tests per core at once, while a busy loop of its own
# keeps every core loaded: a suite that fails here without a fault fails on some busy day too.
# Prints each run's result and, for a run that failed, the failing tests with their failed assertions.
# usage: repeat-tests.sh N
set -eu
runs="${1:?usage: repeat-tests.sh N}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" >/dev/null
cores="$(nproc)"
logs="$build/repeat"
rm -rf "$logs"
mkdir -p "$logs"

load=""
trap 'for pid in $load; do kill "$pid" 2>/dev/null || true; done' EXIT INT TERM
for _ in $(seq "$cores"); do
    sh -c 'while :; do :; done' &
    load="$load $!"
done

green=0
for run in $(seq "$runs"); do
    log="$logs/run-$run.log"
    start="$(date +%s)"
    if (cd "$build" && ctest --output-on-failure -j "$((3 * cores))" >"$log" 2>&1); then
        green=$((green + 1))
        echo "run $run of $runs: green, $(($(date +%s) - start)) s"
        continue
    fi
    echo "run $run of $runs: RED, $(($(date +%s) - start)) s ($log)"
    # Each failing test's block: its status line, then every failed assertion up to its case's FAILED line;
    # a program that failed without one (a crash, a time-out) shows its last lines instead.
    awk '
        function close_block() { if (failing && !asserted) for (i = n - 4; i <= n; i++) if (i > 0) print "      " tail[i % 5] }
        /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / || /tests passed, / {
            close_block(); failing = ($0 ~ /\*\*\*/); asserted = 0; n = 0; inside = 0
            if (failing) print "  " $0
            next
        }
        !failing { next }
        { tail[++n % 5] = $0 }
        /: Failure$/ { lines = 0; inside = 1; asserted = 1 }
        /^\[  FAILED  \]/ { inside = 0; print "      " $0; next }
        inside && lines++ < 12 { print "      " $0 }
        END { close_block() }
    ' "$log"
done
echo "$green of $runs runs green ($((3 * cores)) tests at once on $cores cores, each core also busy)"
[ "$green" -eq "$runs" ]
