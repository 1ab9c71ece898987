#!/bin/sh
# Builds and runs the template reader's fuzz target over the seed corpus.
# usage: run.sh [--short] [extra libFuzzer options]
#   --short: a few seconds, for the test suite.
# clang and its fuzzing runtime come with scripts/setup.sh.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
out="${ORVANE_FUZZ_BUILD_DIR:-$(dirname "$here")/build-fuzz}"

time_limit=60
if [ "${1:-}" = "--short" ]; then
    time_limit=5
    shift
fi

mkdir -p "$out"
# Built again only when a source is newer than the target.
target="$out/template_reader_fuzz"
if { [ ! -x "$target" ] || [ -n "$(find "$here" "$(dirname "$here")/src/layout" -newer "$target" \( -name '*.cpp' -o -name '*.h' \) | head -n 1)" ]; } &&
    ! "$here/build.sh" "$out" >"$out/build.log" 2>&1; then
    cat "$out/build.log"
    echo "the fuzz target did not build: clang and libclang-rt come with scripts/setup.sh" >&2
    exit 1
fi

# New inputs go to a scratch folder; the seeds in fuzz/corpus stay as they are.
mkdir -p "$out/corpus"
exec "$out/template_reader_fuzz" -max_total_time="$time_limit" -max_len=4096 -timeout=10 \
    -print_final_stats=1 "$@" "$out/corpus" "$here/corpus"
