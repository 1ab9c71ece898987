#!/bin/sh
# A long fuzzing campaign of the template reader on one worker, then the
# corpus it grew minimised into a fresh folder and kept in fuzz/corpus/campaign.
# usage: campaign.sh [RUNS]   (default 10000000 executions)
# Figures go to $out/campaign.log (libFuzzer's own) and are summed up at the end.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="${ORVANE_FUZZ_BUILD_DIR:-$root/build-fuzz-campaign}"
runs="${1:-10000000}"

mkdir -p "$out"
"$here/build.sh" "$out" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }
fuzzer="$out/template_reader_fuzz"

# The campaign grows its own folder, starting from the seeds and whatever an
# earlier campaign kept.
grown="$out/grown"
mkdir -p "$grown"
started=$(date +%s)
"$fuzzer" -runs="$runs" -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/" "$grown" "$here/corpus" >"$out/campaign.log" 2>&1 || {
    tail -n 40 "$out/campaign.log"
    echo "campaign failed: see $out/campaign.log and the crash-* files in $out" >&2
    exit 1
}
ended=$(date +%s)

# Minimise: everything the seeds and the grown folder cover, into a fresh folder.
merged="$out/merged"
rm -rf "$merged"
mkdir -p "$merged"
"$fuzzer" -merge=1 -max_len=4096 "$merged" "$here/corpus" "$grown" >"$out/merge.log" 2>&1

# Keep what is not already a seed, by content.
kept="$here/corpus/campaign"
rm -rf "$kept"
mkdir -p "$kept"
for f in "$merged"/*; do
    duplicate=no
    for s in "$here"/corpus/*.dlg; do
        if cmp -s "$f" "$s"; then duplicate=yes; break; fi
    done
    [ "$duplicate" = yes ] || cp "$f" "$kept/"
done

stat() { awk -v key="stat::$1:" '$1 == key { print $2 }' "$out/campaign.log"; }
echo "executions:    $(stat number_of_executed_units)"
echo "seconds:       $((ended - started))"
echo "exec/s:        $(stat average_exec_per_sec)"
echo "peak RSS (MB): $(stat peak_rss_mb)"
echo "last status:   $(grep -E '^#[0-9]+' "$out/campaign.log" | tail -n 1)"
echo "grown corpus:  $(ls "$grown" | wc -l) files"
echo "merged:        $(grep -E 'MERGE-OUTER: [0-9]+ new files' "$out/merge.log" | tail -n 1)"
echo "kept:          $(ls "$kept" | wc -l) files, $(du -sb "$kept" | cut -f1) bytes, largest $(ls -S "$kept" | head -n 1 | xargs -I{} stat -c %s "$kept/{}") bytes"
