#!/bin/sh
# Installs what is missing, builds Orvane and starts it under Wine.
# With no display, it runs on a virtual one (Xvfb), saves a picture of its
# window and prints the picture's path.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
"$root/scripts/build.sh" --target orvane localization >&2

export WINEPREFIX="$build/wineprefix-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" x11

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/bin/orvane.exe"
fi

out="${ORVANE_SHOTS:-$build/screenshots}"
mkdir -p "$out"
display=":$((90 + $$ % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

wine "$build/bin/orvane.exe" &
for _ in $(seq 100); do
    geometry="$(xwininfo -name Orvane 2>/dev/null || true)"
    [ -n "$geometry" ] && break
    sleep 0.2
done
[ -n "$geometry" ] || { echo "Orvane's window did not appear" >&2; exit 1; }
sleep 2
x=$(echo "$geometry" | awk '/Absolute upper-left X/ {print $4}')
y=$(echo "$geometry" | awk '/Absolute upper-left Y/ {print $4}')
w=$(echo "$geometry" | awk '/Width:/ {print $2}')
h=$(echo "$geometry" | awk '/Height:/ {print $2}')
# The frame and the 26-pixel menu bar below it.
picture="$out/orvane.png"
import -window root -crop "${w}x$((h + 26))+${x}+${y}" +repage "$picture"
echo "$picture"
