#!/bin/sh
# orvane-report on the platform's own IP helper, against what the kernel says:
# - the TCP and IP settings are /proc/net/snmp's, in the platform's units (a
#   dynamic maximum of connections, -1, as 4294967295);
# - every interface but lo is on the interfaces page, and every adapter's
#   index is found there;
# - the addresses page holds lo with 127.0.0.1/8 and ::1/128, and every address
#   of `ip -o addr` under the adapter of its name, with its prefix length;
# - `interface LO` shows loopback's 14 status rows in a one-shot report;
# - a watch of lo by its alias while datagrams flow on it shows a received
#   rate above zero, and totals within /proc/net/dev's before and after.
set -eu
build="$1"
report() { "$build/wine-run.sh" "$build/bin/orvane-report.exe" "$@"; }
lo_received() { awk -F'[: ]+' '$2 == "lo" { print $3 }' /proc/net/dev; }

addresses="$(report --json addresses tcp ip adapters interfaces)"
# One grammar in both modes: loopback by its alias in any case, in a one-shot report too.
chosen="$(report --json interface LO)"
python3 -c 'import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
while True:
    s.sendto(b"o" * 1000, ("127.0.0.1", 9)); time.sleep(0.002)' &
sender=$!
trap 'kill $sender 2>/dev/null || true' EXIT
# The watch starts once the datagrams flow: ten seconds at most.
quiet="$(lo_received)"
for _ in $(seq 100); do [ "$(lo_received)" != "$quiet" ] && break; sleep 0.1; done
before="$(lo_received)"
watch="$(report --watch 0.5 --count 2 --json interface LO)"
after="$(lo_received)"
kill $sender

ip -o addr show | python3 -c '
import json, sys
addresses, watch, before, after = json.loads(sys.argv[1]), sys.argv[2].splitlines(), int(sys.argv[3]), int(sys.argv[4])
faults = []
chosen = json.loads(sys.argv[5]).get("interfaces", [])
if [(i["name"], len(i["rows"])) for i in chosen] != [("lo", 14)]:
    faults.append("interface LO gave %s" % chosen)
snmp = [line.split() for line in open("/proc/net/snmp")]
kernel = {names[0] + name: int(value) for names, values in zip(snmp[::2], snmp[1::2])
          for name, value in zip(names[1:], values[1:])}
settings = {"Timeout algorithm": "Tcp:RtoAlgorithm", "minimum time-out": "Tcp:RtoMin", "maximum time-out": "Tcp:RtoMax",
            "maximum connections": "Tcp:MaxConn", "IP forwarding enabled or disabled": "Ip:Forwarding",
            "default time-to-live": "Ip:DefaultTTL"}
for row in addresses["tcp"] + addresses["ip"]:
    if row["name"] in settings and row["value"] != kernel[settings[row["name"]]] % 2**32:
        faults.append("%s is %d, the kernel says %d" % (row["name"], row["value"], kernel[settings[row["name"]]]))
devices = [line.split(":")[0].strip() for line in open("/proc/net/dev").readlines()[2:]]
indexes = {i["index"] for i in addresses["interfaces"]}
if len(indexes) != len([d for d in devices if d != "lo"]):
    faults.append("interfaces %s, the kernel'"'"'s but lo: %s" % (sorted(indexes), devices))
faults += ["adapter %d has no interface" % a["index"] for a in addresses["adapters"] if a["index"] not in indexes]
# The kernel writes no scope: fe80::1%4/64 is its fe80::1/64.
shown = {adapter["friendlyName"]: {u["address"].split("%")[0] + "/%d" % u["prefixLength"] for u in adapter["unicast"]}
         for adapter in addresses["addresses"]}
kernel_addresses = [(w[1].split("@")[0], w[3]) for w in map(str.split, sys.stdin) if w[2] in ("inet", "inet6")]
faults += ["not on the addresses page: %s %s" % (n, a) for n, a in kernel_addresses if a not in shown.get(n, set())]
if not {"127.0.0.1/8", "::1/128"} <= shown.get("lo", set()):
    faults.append("lo without 127.0.0.1/8 and ::1/128")
lines = [json.loads(s) for s in watch]
samples = [s for s in lines if s["type"] == "sample"]
if lines[-1]["type"] != "summary" or lines[-1]["samples"] != 2:
    faults.append("a watch of two samples ends without its summary: " + watch[-1])
if len(samples) != 2 or any(len(s["interfaces"]) != 1 or s["interfaces"][0]["alias"] != "lo" for s in samples):
    faults.append("a watch of lo gave " + " ".join(watch))
else:
    received = [s["interfaces"][0]["counters"]["inOctets"] for s in samples]
    if not before <= received[0]["total"] <= received[1]["total"] <= after:
        faults.append("lo totals %s outside %d..%d" % ([r["total"] for r in received], before, after))
    if not received[1]["rate"] or received[1]["rate"] <= 0:
        faults.append("lo received no bytes per second: %s" % received[1])
print("\n".join(faults + ["%d adapters, %d addresses; %d faults" % (len(shown), len(kernel_addresses), len(faults))]))
sys.exit(1 if faults else 0)
' "$addresses" "$watch" "$before" "$after" "$chosen"
