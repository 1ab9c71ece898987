#!/usr/bin/env python3
"""Runs the real orvane-report.exe, as a user would, and reads what it writes
through a pipe: JSON that Python's own reader takes, counters that are
unsigned 32-bit integers, UTF-8 text, and the exit status of each case.

usage: check_report_exe.py EXE [RUNNER]   (RUNNER: the build's wine-run.sh)
"""
import json
import subprocess
import sys

EXE = sys.argv[1]
RUNNER = sys.argv[2:]
TABLE_ROWS = {"tcp": 15, "ip": 23, "udp": 5, "icmp-in": 13, "icmp-out": 13}
PAGES = ["summary", "adapters", "interfaces", *TABLE_ROWS]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*arguments):
    done = subprocess.run([*RUNNER, EXE, *arguments], capture_output=True, timeout=120)
    return done.returncode, done.stdout, done.stderr


def unique_members(pairs):
    keys = [key for key, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("member named twice: %r" % keys)
    return dict(pairs)


def refuse(constant):
    raise ValueError("not JSON: " + constant)


def is_counter(value):
    return type(value) is int and 0 <= value <= 0xFFFFFFFF


def check_rows(rows, count, where):
    check(isinstance(rows, list) and len(rows) == count, "%s: %d rows expected" % (where, count))
    for row in rows if isinstance(rows, list) else []:
        check(isinstance(row, dict) and list(row) == ["name", "value"], "%s: row %r" % (where, row))
        check(isinstance(row.get("name"), str) and is_counter(row.get("value")), "%s: row %r" % (where, row))


def check_json():
    status, out, err = run("--json")
    check(b"\r\n" not in out, "--json: CR LF in the output (text mode?)")
    document = json.loads(out.decode("utf-8"), object_pairs_hook=unique_members, parse_constant=refuse)
    errors = document.get("errors", [])
    check(status == (1 if errors else 0), "--json: status %d with %d errors" % (status, len(errors)))
    check(len(err.decode("utf-8").splitlines()) == len(errors), "--json: one stderr line per error")
    failed = {error["page"] for error in errors}
    for page in PAGES:
        check((page in document) != (page in failed), "--json: %s neither printed nor failed" % page)
    for error in errors:
        check(is_counter(error["code"]) and error["code"] >= 0x80000000, "--json: error code %r" % error)
    summary = document.get("summary")
    if summary is not None:
        check(all(isinstance(summary[k], str) for k in ("hostName", "domainName", "text")), "summary texts")
        check(summary["text"].startswith("Host: " + summary["hostName"] + "\r\n"), "summary text")
        check(all(isinstance(s, str) and s for s in summary["dnsServers"]), "summary dnsServers")
    for adapter in document.get("adapters", []):
        check(list(adapter) == ["index", "name"] and is_counter(adapter["index"]), "adapter %r" % adapter)
    for interface in document.get("interfaces", []):
        check(is_counter(interface["index"]) and isinstance(interface["name"], str), "interface %r" % interface)
        check_rows(interface["rows"], 14, "interface %d" % interface["index"])
    for key, count in TABLE_ROWS.items():
        if key in document:
            check_rows(document[key], count, key)
    return document


def check_text(document):
    status, out, _ = run()
    text = out.decode("utf-8")
    check("\r" not in text, "text: CR in the output")
    headings = {"summary": "Summary", "adapters": "Adapters", "tcp": "TCP", "ip": "IP", "udp": "UDP",
                "icmp-in": "ICMP in", "icmp-out": "ICMP out"}
    lines = text.split("\n")
    for key, heading in headings.items():
        check((heading in lines) == (key in document), "text: heading %s" % heading)
    check(status in (0, 1), "text: status %d" % status)


def check_answers():
    status, out, err = run("bogus")
    check(status == 2 and out == b"", "bogus: status %d, stdout %r" % (status, out[:40]))
    check(err.startswith(b"orvane-report: unknown argument 'bogus'\n"), "bogus: stderr %r" % err[:60])
    status, out, err = run("--help")
    check(status == 0 and out.startswith(b"Usage: orvane-report") and err == b"", "--help: status %d" % status)
    status, out, err = run("interface", "4294967295", "udp")
    check(status == 1, "interface 4294967295: status %d" % status)
    check(err == b"Failed to read interface 4294967295: 0x80070057\n", "interface 4294967295: %r" % err)
    check(out.startswith(b"UDP\n"), "interface 4294967295: the UDP page still printed")


check_text(check_json())
check_answers()
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
