#!/bin/sh
# The ZIP made by CPack, unpacked into a fresh folder: it must hold the four
# files, and the test Package.* starts the program from another folder.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work/out" >/dev/null)
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$work"/out/*.zip)
folder="$(ls -d "$work"/unpacked/*/)"
for f in orvane.exe localization.dll orvane-report.exe README.md; do
    [ -f "$folder$f" ] || { echo "package lacks $f"; exit 1; }
done
cd "$build/bin"
ORVANE_PACKAGE="Z:$(printf '%s' "$folder" | tr / '\\')" \
    exec "$build/wine-run.sh" ./test_process.exe --gtest_filter='Package.*'
