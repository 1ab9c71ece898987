#!/bin/sh
# Builds what the benchmarks need, runs them all under Wine and writes
# bench/RESULTS.md: the measured part is rewritten on every run, the notes
# below its marker line are kept.
# usage: scripts/bench.sh   (ORVANE_BENCH_BUILD picks the build folder)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BENCH_BUILD:-$root/build-bench}"
results="$root/bench/RESULTS.md"
marker="<!-- Everything below this line is kept when scripts/bench.sh rewrites the file. -->"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" --target orvane orvane-report localization orvane-bench orvane-bench-baseline

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" null

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
bin="$build/bin"
run() {
    echo "bench: $*" >&2
    (cd "$bin" && wine orvane-bench.exe "$@") | tr -d '\r' >>"$out"
}
run views 200
run relayout 200
run adapters 150
run startup 30
run watch 200
echo "bench: report against wine ipconfig and netstat" >&2
python3 "$root/bench/report_vs_wine.py" "$bin" 15 >>"$out"
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

kept=""
if [ -f "$results" ] && grep -qF "$marker" "$results"; then
    kept="$(sed -n "/$(printf '%s' "$marker" | sed 's/[][\.*^$/]/\\&/g')/,\$p" "$results" | tail -n +2)"
fi
{
    echo "# Benchmark results"
    echo
    echo "Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo
    echo "- Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores, Linux $(uname -r)"
    echo "- Wine: $(wine --version 2>/dev/null), null graphics driver, prefix \`$(basename "$build")/wineprefix\`"
    echo "- Build: Release, $(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null | head -1) (mingw-w64)"
    echo "- Load average (1, 5, 15 min) before: $load_before; after: $load_after"
    echo
    echo "Ratios are ours over the baseline, of medians; in brackets the 25th and 75th percentiles."
    echo
    echo "| Measurement | Ours | Baseline | Ratio | Goal | Verdict |"
    echo "|---|---|---|---|---|---|"
    grep '^ROW|' "$out" | sed 's/^ROW|//; s/|/ | /g; s/^/| /; s/$/ |/'
    echo
    echo "## Measured details"
    echo
    grep '^NOTE|' "$out" | sed 's/^NOTE|/- /'
    echo
    echo "$marker"
    if [ -n "$kept" ]; then
        echo "$kept"
    fi
} >"$results"
echo "bench: wrote $results" >&2
