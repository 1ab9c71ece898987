#!/bin/sh
# Builds the ZIP, unpacks it into a fresh folder and starts orvane.exe from
# there with another current folder: it must find its own localization.dll,
# show its window and end with 1 when closed.
set -eu
build="$1"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G ZIP -B "$work/out" >/dev/null)
zip="$(ls "$work"/out/*.zip)"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder="$(ls -d "$work"/unpacked/*/)"
for f in orvane.exe localization.dll orvane-report.exe README.md; do
    [ -f "$folder$f" ] || { echo "package lacks $f"; exit 1; }
done

mkdir "$work/elsewhere"
cd "$work/elsewhere"
wine "${folder}orvane.exe" &
orvane=$!
owner="$(wine "$build/bin/orvane-probe.exe")" || { kill $orvane 2>/dev/null; echo "no window"; exit 1; }
status=0
wait $orvane || status=$?
echo "window of: $owner; exit code: $status"
case "$owner" in *unpacked*) ;; *) echo "the window belongs to another program"; exit 1 ;; esac
[ "$status" -eq 1 ] || { echo "expected exit code 1"; exit 1; }
# The report runs from there as well.
wine "${folder}orvane-report.exe" tcp | grep -q "Timeout algorithm" || { echo "report failed"; exit 1; }
echo "package ok"
