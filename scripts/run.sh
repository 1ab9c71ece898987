#!/bin/sh
# Installs what is missing, builds Orvane and starts it under Wine.
# With no display, it runs on a virtual one (Xvfb) and takes a tour of every
# page in portrait and landscape: one picture per page into a folder it
# names, and the text each data page shows.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" --target orvane localization orvane-tour >&2

export WINEPREFIX="$build/wineprefix-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" x11

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/bin/orvane.exe"
fi

out="${ORVANE_SHOTS:-$build/tour}"
display=":$((90 + $$ % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The tour starts Orvane, visits every page in both orientations and ends it.
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.bmp
status=0
wine "$build/bin/orvane-tour.exe" "$(winepath -w "$out")" || status=$?
for picture in "$out"/*.bmp; do
    [ -e "$picture" ] || continue
    convert "$picture" -strip -define png:compression-level=9 "${picture%.bmp}.png" && rm "$picture"
done
echo "Pictures of every page: $out"
exit "$status"
