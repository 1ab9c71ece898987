#!/bin/sh
# Builds the template reader's fuzz target natively with clang.
# usage: build.sh [OUTPUT_DIR]   (default: build-fuzz beside the sources)
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="${1:-$root/build-fuzz}"
cxx="${CXX_FUZZ:-clang++}"
mkdir -p "$out"
"$cxx" -std=c++20 -g -O1 -Wall -Wextra -Wconversion -Wno-sign-conversion \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" \
    "$here/template_reader_fuzz.cpp" "$root/src/layout/DialogTemplate.cpp" \
    -o "$out/template_reader_fuzz"
echo "$out/template_reader_fuzz"
