#!/bin/sh
# Makes (once) a Wine prefix and selects its graphics driver.
# usage: wine-prefix.sh PREFIX null|x11 [MODEL]
# With MODEL, a missing PREFIX is made as a copy of MODEL (made first if need be), its files hard links but for the
# registry's: a copy takes a second where a new prefix takes half a minute.
set -eu
prefix="$1"
driver="${2:-null}"
model="${3:-}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$prefix/.orvane-driver"

# Several test programs may start at once: one makes the prefix, the others wait.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9

if [ ! -f "$prefix/system.reg" ] && [ -n "$model" ]; then
    "$0" "$model" "$driver"
    rm -rf "$prefix" "$prefix.copy"
    cp -al "$model" "$prefix.copy"
    mv "$prefix.copy" "$prefix"
elif [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    # Wine creates a prefix only when the folder belongs to the caller.
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

# Wine saves a registry file that has more than one link in place, to keep the links, so prefixes sharing one
# would write over each other's registry, each server from its own view of it: every prefix has files of its own.
for reg in "$prefix"/*.reg; do
    if [ -f "$reg" ] && [ "$(stat -c %h "$reg")" -gt 1 ]; then
        cp "$reg" "$reg.own"
        mv "$reg.own" "$reg"
    fi
done

setup="$driver, no debugger"
if [ "$(cat "$stamp" 2>/dev/null || true)" != "$setup" ]; then
    # A crashing program ends at once instead of waiting for a debugger.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f >/dev/null 2>&1
    if [ "$driver" = null ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    fi
    # The driver setting takes effect only in a fresh wineserver.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    echo "$setup" > "$stamp.new"  # a new file: the stamp may be a copy's link to its model's
    mv "$stamp.new" "$stamp"
fi
