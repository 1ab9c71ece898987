#!/bin/sh
# Builds orvane-bench and runs its soak under Wine in the build's own prefix:
# 10,000 rounds of the real frame over the scripted IP helper; writes bench/SOAK.md.
# usage: scripts/soak.sh [ROUNDS]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ORVANE_BUILD:-$root/build}"
rounds="${1:-10000}"
"$root/scripts/build.sh" --target orvane-bench localization
cd "$build/bin"
"$build/wine-run.sh" ./orvane-bench.exe soak "$rounds" 2>&1 | tr -d '\r' >soak.log || true
grep '^SOAK|' soak.log | sed 's/^SOAK|//' >soak.md
verdict="$(sed -n 's/^SOAKED|//p' soak.log)"
[ -s soak.md ] && [ -n "$verdict" ] || { cat soak.log; echo "the soak wrote no figures" >&2; exit 1; }
case "$verdict" in *"; steady.") ;; *) echo "the soak found growth: $verdict" >&2; status=1 ;; esac
cat >"$root/bench/SOAK.md" <<DOC
# Soak: the real frame through $rounds rounds

Written by \`scripts/soak.sh\` on $(date -u '+%Y-%m-%d') under $(wine --version 2>/dev/null || echo Wine), $(nproc) CPUs; do not edit by hand.
The soak of \`orvane-bench\` (bench/soak_bench.cpp) creates the real frame with its nine views over
the scripted IP helper (three adapters, indexes 2, 3 and 5, with their interfaces; every counter changes every
round, so every read fills the lists anew) and repeats, round after round: a view command (the nine views and
40010 in turn), the refresh command, a tab change on the IP configuration and the Statistics views, an adapter
chosen on the General page, and a screen turn.

At checkpoints it counts every window of the thread, the GDI objects and the private bytes. Under Wine
\`GetGuiResources\` answers 0, so the GDI objects are counted in the handle table the platform maps into the
process (the entries the process owns, found by a fresh brush); \`GetProcessMemoryInfo\` leaves \`PrivateUsage\`
at 0, so private bytes are the committed private regions, summed with \`VirtualQuery\`.

After the first 100 rounds nothing may grow: the windows stay as many, the GDI objects do not rise, and the
private bytes stay within **1 MiB** of their level at round 100. The scripted local heap must be empty at the
end and every window gone with the frame.

## $rounds rounds

| Round | Windows | GDI objects | Private bytes | Seconds |
|---:|---:|---:|---:|---:|
$(cat soak.md)

$verdict

## What the rounds avoid

Earlier soaks traced two growths to Wine, not to Orvane, and the rounds above keep clear of them. A multi-line
\`EDIT\` control whose text re-wraps on a resize keeps memory on every turn (a Summary of three DNS servers
wraps at the portrait width only). A shared icon loaded from a library mapped as an image resource is made anew
on every \`LoadIconW\`, and \`DestroyIcon\` on it frees nothing (the about logo, on every opening).
DOC
echo "$root/bench/SOAK.md"
exit "${status:-0}"
