#!/bin/sh
# A long fuzzing campaign of the template reader on one worker, then the
# corpus it grew minimised into a fresh folder and kept in fuzz/corpus/campaign.
# usage: campaign.sh [RUNS]   (default 10000000 executions)
# libFuzzer's own log is $out/campaign.log; the figures go into fuzz/CAMPAIGN.md.
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
field() { grep -E "^#[0-9]+[[:space:]]+$1" "$out/campaign.log" | tail -n 1 | sed -E "s/.* $2: ([0-9]+[a-zA-Z]*).*/\1/"; }
seeds=$(find "$here/corpus" -type f | wc -l)
cat >"$here/CAMPAIGN.md" <<DOC
# Fuzzing campaign: the dialog template reader

Written by \`fuzz/campaign.sh\` on $(date -u '+%Y-%m-%d'); do not edit by hand.

The reader (\`src/layout/DialogTemplate.cpp\`) takes templates from a resource library anyone can replace, so it
is fuzzed on its own with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
(\`fuzz/template_reader_fuzz.cpp\`): every read stays inside the bytes, items are aligned, ordered and inside
the template, the walking reader and the validator agree, and the extended form is always recognised.

\`fuzz/campaign.sh [RUNS]\` builds the target with \`fuzz/build.sh\` (native clang) into
\`build-fuzz-campaign/\`, runs \`-runs=RUNS -max_len=4096 -timeout=10\` on one process over a growing folder
and the kept corpus (\`fuzz/corpus\`, read recursively), then minimises seeds and grown inputs with
\`-merge=1\` into a fresh folder and keeps in \`fuzz/corpus/campaign/\` whatever is not byte for byte a seed.
A finding stops the run and leaves a \`crash-*\` file in \`build-fuzz-campaign/\`. The suite's short run
(\`fuzz/run.sh --short\`) starts from the same corpus.

| | |
|---|---|
| Machine | $(nproc) CPUs, $(uname -sr), $("${CXX_FUZZ:-clang++}" --version | head -n 1) |
| Workers | 1 (\`-runs\`, no \`-jobs\`) |
| Executions | $(stat number_of_executed_units) |
| Time | $((ended - started)) s ($(stat average_exec_per_sec) executions/s on average) |
| Findings | none (no crash, leak, timeout, sanitizer report or failed check) |
| Start | $seeds files in fuzz/corpus (the seeds and what the last campaign kept): $(field INITED cov) edges, $(field INITED ft) features |
| End | $(field DONE cov) edges, $(field DONE ft) features, $(field DONE corp) inputs in the working corpus |
| Peak memory | $(stat peak_rss_mb) MB RSS |
| Minimised (\`-merge=1\`, fresh folder) | $(grep -E 'MERGE-OUTER: [0-9]+ new files' "$out/merge.log" | tail -n 1 | sed -E 's/.*MERGE-OUTER: //') |
| Kept in \`fuzz/corpus/campaign/\` | $(ls "$kept" | wc -l) files, $(du -sb "$kept" | cut -f1) bytes |
DOC
echo "$here/CAMPAIGN.md"
