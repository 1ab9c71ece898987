#!/bin/sh
# The addresses page on the real platform against the kernel's own list
# (`ip -o addr`): lo with 127.0.0.1/8 and ::1/128, and every address of the
# machine under the adapter of its name, with its prefix length.
set -eu
build="$1"
json="$("$build/wine-run.sh" "$build/bin/orvane-report.exe" --json addresses)"
ip -o addr show | python3 -c '
import json, sys
report = json.loads(sys.argv[1])
shown = {}
for adapter in report["addresses"]:
    # The kernel writes no scope: fe80::1%4/64 is its fe80::1/64.
    shown[adapter["friendlyName"]] = {a["address"].split("%")[0] + "/" + str(a["prefixLength"]) for a in adapter["unicast"]}
missing = []
for line in sys.stdin:
    words = line.split()
    name, family, address = words[1].split("@")[0], words[2], words[3]
    if family in ("inet", "inet6") and address not in shown.get(name, set()):
        missing.append(name + " " + address)
lo = shown.get("lo", set())
if not {"127.0.0.1/8", "::1/128"} <= lo:
    missing.append("lo 127.0.0.1/8 and ::1/128, shown: " + " ".join(sorted(lo)))
for m in missing:
    print("not on the addresses page:", m)
print(len(shown), "adapters,", sum(len(s) for s in shown.values()), "addresses shown,", len(missing), "missing")
sys.exit(1 if missing else 0)
' "$json"
