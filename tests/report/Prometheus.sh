#!/bin/sh
# orvane-report's Prometheus exposition, read by Prometheus's own tools:
# - promtool lints every page's exposition, and the whole one is the pages' series together;
# - node_exporter's textfile collector serves a file that --textfile wrote, without a scrape error, with lo's
#   received bytes within /proc/net/dev's before and after the write;
# - a Prometheus server scrapes that node_exporter every second while --watch rewrites the file and datagrams
#   flow on lo: its rate of lo's received bytes agrees with the kernel's over the same samples.
# Everything listens on and talks to 127.0.0.1 only; every wait has a deadline.
set -eu
build="$1"
tmp="$(mktemp -d)"
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    for pid in $pids; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    for log in "$tmp"/*.log; do [ -f "$log" ] && { echo "--- $log" >&2; tail -5 "$log" >&2; }; done
    exit 1
}
report() { timeout -k 5 60 "$build/wine-run.sh" "$build/bin/orvane-report.exe" "$@"; }
lo_received() { awk -F'[: ]+' '$2 == "lo" { print $3 }' /proc/net/dev; }
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
get() { curl -fsS --max-time 5 "http://127.0.0.1:$1"; }
await() { # URL WHAT: ten seconds for it to answer
    for _ in $(seq 50); do get "$1" >/dev/null 2>&1 && return 0; sleep 0.2; done
    fail "$2 did not answer http://127.0.0.1:$1 within 10 s"
}
series() { grep -v -e '^#' -e '^$' "$1" | sed 's/ [^ ]*$//' | sort; }

# a) promtool passes an empty exposition, so each page must also bring samples of its own.
pages="interfaces tcp ip udp icmp-in icmp-out tcp6 ip6 udp6 icmp6-in icmp6-out"
for page in all $pages; do
    if [ "$page" = all ]; then set --; else set -- "$page"; fi
    report --prometheus "$@" >"$tmp/$page.prom" || fail "orvane-report --prometheus $* exited $? ($page)"
    promtool check metrics <"$tmp/$page.prom" >"$tmp/lint" 2>&1 ||
        fail "promtool check metrics on orvane-report --prometheus $* ($page): $(cat "$tmp/lint")"
    grep -q '^orvane_' "$tmp/$page.prom" || fail "orvane-report --prometheus $* ($page) printed no orvane_ sample"
done
for page in $pages; do series "$tmp/$page.prom"; done | sort >"$tmp/pages"
series "$tmp/all.prom" | diff "$tmp/pages" - >&2 || fail "--prometheus with no page is not its pages' series together (diff above)"
grep -q '^orvane_interface_receive_bytes_total{.*interface="lo"' "$tmp/interfaces.prom" || fail "no received bytes of lo"

# b) Wine's drive Z: is the Unix root.
mkdir "$tmp/text"
textfile="Z:$(printf %s "$tmp/text/orvane.prom" | tr / '\134')"
exporter="$(free_port)"
prometheus-node-exporter --web.listen-address="127.0.0.1:$exporter" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$tmp/text" >"$tmp/node_exporter.log" 2>&1 &
pids="$pids $!"
await "$exporter/metrics" node_exporter
before="$(lo_received)"
report --textfile "$textfile" || fail "orvane-report --textfile $textfile exited $?"
after="$(lo_received)"
[ -s "$tmp/text/orvane.prom" ] || fail "--textfile $textfile wrote nothing at $tmp/text/orvane.prom"
get "$exporter/metrics" >"$tmp/scrape" || fail "node_exporter's /metrics did not answer"
python3 - "$tmp/scrape" "$tmp/text/orvane.prom" "$before" "$after" <<'EOF' || fail "node_exporter's scrape of the textfile"
import re, sys
def samples(path):
    found = {}
    for line in filter(lambda l: l.strip() and not l.startswith("#"), open(path)):
        series, value = line.rsplit(" ", 1)
        name, _, labels = series.partition("{")
        found[name, tuple(sorted(re.findall(r'(\w+)="((?:[^"\\]|\\.)*)"', labels)))] = float(value)
    return found
scrape, written, before, after = samples(sys.argv[1]), samples(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
error = scrape.get(("node_textfile_scrape_error", ()))
faults = [] if error == 0 else ["node_textfile_scrape_error is %s" % error]
faults += ["%s%s is not served as written" % k for k in written if scrape.get(k) != written[k]]
lo = [v for (name, labels), v in scrape.items() if name == "orvane_interface_receive_bytes_total" and ("interface", "lo") in labels]
if len(lo) != 1 or not before <= lo[0] <= after:
    faults.append("lo received %s, not one value within /proc/net/dev's %d..%d" % (lo, before, after))
print("\n".join(faults + ["node_exporter served the textfile's %d samples; lo %s in %d..%d" % (len(written), lo, before, after)]))
sys.exit(1 if faults else 0)
EOF

# c) Prometheus scrapes every second; the watch rewrites the file twice a second meanwhile.
server="$(free_port)"
printf 'global: {scrape_interval: 1s, evaluation_interval: 1s}\nscrape_configs:\n  - job_name: node\n    static_configs: [{targets: ["127.0.0.1:%s"]}]\n' \
    "$exporter" >"$tmp/prometheus.yml"
promtool check config "$tmp/prometheus.yml" >"$tmp/lint" 2>&1 || fail "promtool check config: $(cat "$tmp/lint")"
prometheus --config.file="$tmp/prometheus.yml" --web.listen-address="127.0.0.1:$server" \
    --storage.tsdb.path="$tmp/tsdb" >"$tmp/prometheus.log" 2>&1 &
pids="$pids $!"
await "$server/-/ready" Prometheus
# timeout's own id: it passes the signal on to Wine.
timeout -k 5 60 "$build/wine-run.sh" "$build/bin/orvane-report.exe" --watch 0.5 --count 80 --textfile "$textfile" interfaces \
    >"$tmp/watch.log" 2>&1 &
pids="$pids $!"
python3 - "$server" <<'EOF' || fail "Prometheus's rate of lo's received bytes"
import json, socket, sys, time, urllib.parse, urllib.request
def query(expression, at):
    url = "http://127.0.0.1:%s/api/v1/query?" % sys.argv[1] + urllib.parse.urlencode({"query": expression, "time": at})
    result = json.load(urllib.request.urlopen(url, timeout=5))["data"]["result"]
    return result[0] if result else None
def lo_received():
    return next(int(l.split(":")[1].split()[0]) for l in open("/proc/net/dev") if l.split(":")[0].strip() == "lo")
metric, window = 'orvane_interface_receive_bytes_total{interface="lo"}', 10
receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
receiver.bind(("127.0.0.1", 0))
receiver.setblocking(False)
sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
# Datagrams of 1000 bytes every 2 ms, to our own socket (no ICMP replies); the kernel read every 0.1 s.
start = checked = time.time()
log, sent, samples = [(start, lo_received(), 0)], 0, []
while len(samples) < window:
    if time.time() - start > 40:
        errors = query("max_over_time(node_textfile_scrape_error[1m])", time.time())
        sys.exit("after 40 s Prometheus holds %d samples of %s in %d s, not %d; node_textfile_scrape_error up to %s"
                 % (len(samples), metric, window, window, errors and errors["value"][1]))
    sender.sendto(b"o" * 1000, receiver.getsockname())
    sent += 1
    try:
        while receiver.recv(2048): pass
    except BlockingIOError: pass
    if time.time() - log[-1][0] >= 0.1:
        log.append((time.time(), lo_received(), sent))
    if time.time() - checked >= 1 and time.time() - start > window:
        checked = time.time()
        series = query("%s[%ds]" % (metric, window), checked)
        samples = query("%s[%ds]" % (metric, window), series["values"][-1][0])["values"] if series else []
    time.sleep(0.002)
# At its last sample's time a full window starts within a scrape of its first sample, so rate() extrapolates to
# the span between them; anywhere else it adds half a scrape to the span at a farther end.
rate = float(query("rate(%s[%ds])" % (metric, window), samples[-1][0])["value"][1])
first, last = float(samples[0][0]), float(samples[-1][0])
at = lambda t: min(log, key=lambda entry: abs(entry[0] - t))
# lo counts a datagram's IP packet: 1000 bytes, 8 of UDP and 20 of IPv4.
(t0, kernel0, sent0), (t1, kernel1, sent1) = at(first), at(last)
kernel, datagrams = (kernel1 - kernel0) / (t1 - t0), (sent1 - sent0) * 1028 / (t1 - t0)
print("lo over %.1f s: Prometheus %.0f B/s, /proc/net/dev %.0f B/s, datagrams sent %.0f B/s" % (t1 - t0, rate, kernel, datagrams))
# A sample is the counter up to a watch period (0.5 s) and a write before its scrape, and that lag differs
# between the first and last sample by as much, of a ~9 s span: about 6 %, more where the load stalls the
# sender at either end; 20 % leaves room for that, and still catches a wrong counter or a stale file.
faults = ["Prometheus's rate is not within 20 % of the kernel's"] if abs(rate / kernel - 1) > 0.2 else []
faults += ["lo carried less than the datagrams sent"] if kernel < datagrams else []
# Each rewrite replaces the file whole: node_exporter never read a part of one.
errors = query("max_over_time(node_textfile_scrape_error[1m])", last)
faults += [] if errors and errors["value"][1] == "0" else ["node_textfile_scrape_error during the watch: %s" % errors]
sys.exit("\n".join(faults) if faults else 0)
EOF
