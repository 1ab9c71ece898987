#!/bin/sh
# Builds and runs the template reader's fuzz target over the seed corpus.
# usage: run.sh [--short] [extra libFuzzer options]
#   --short: a few seconds, for the test suite.
# Exits 77 (skipped) when clang or its fuzzing runtime is missing.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
out="${ORVANE_FUZZ_BUILD_DIR:-$(dirname "$here")/build-fuzz}"

time_limit=60
if [ "${1:-}" = "--short" ]; then
    time_limit=5
    shift
fi

if ! command -v "${CXX_FUZZ:-clang++}" >/dev/null 2>&1; then
    echo "clang++ not found: fuzzing skipped"
    exit 77
fi
mkdir -p "$out"
if ! "$here/build.sh" "$out" >"$out/build.log" 2>&1; then
    cat "$out/build.log"
    if grep -q "clang_rt" "$out/build.log"; then
        echo "clang's fuzzing runtime is missing: fuzzing skipped"
        exit 77
    fi
    exit 1
fi

# New inputs go to a scratch folder; the seeds in fuzz/corpus stay as they are.
mkdir -p "$out/corpus"
exec "$out/template_reader_fuzz" -max_total_time="$time_limit" -max_len=4096 -timeout=10 \
    -print_final_stats=1 "$@" "$out/corpus" "$here/corpus"
