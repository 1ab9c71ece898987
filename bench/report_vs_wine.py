#!/usr/bin/env python3
"""orvane-report (every page) against `wine ipconfig /all` plus `wine netstat -s`.

Whole-process timings from the host: each run starts a Wine process, and
Wine's own start-up dominates them. Interleaved (the order rotates every
round), one untimed run of each first, medians. Prints ROW|/NOTE| lines as the
other benchmarks do. usage: report_vs_wine.py BIN_DIR [ROUNDS]
"""
import os
import statistics
import subprocess
import sys
import time


def timed(command, cwd):
    start = time.perf_counter()
    done = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start, done.returncode


def main():
    bin_dir = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    contenders = {
        "orvane-report": ["wine", os.path.join(bin_dir, "orvane-report.exe")],
        "ipconfig /all": ["wine", "ipconfig", "/all"],
        "netstat -s": ["wine", "netstat", "-s"],
    }
    names = list(contenders)
    for name in names:
        timed(contenders[name], bin_dir)
    samples = {name: [] for name in names}
    codes = {name: set() for name in names}
    for r in range(rounds):
        order = names[r % 3:] + names[:r % 3]
        if r % 2:
            order.reverse()
        for name in order:
            seconds, code = timed(contenders[name], bin_dir)
            samples[name].append(seconds * 1000)
            codes[name].add(code)
    # The baseline of one round is the two tools together.
    pairs = [a + b for a, b in zip(samples["ipconfig /all"], samples["netstat -s"])]
    ours = statistics.median(samples["orvane-report"])
    baseline = statistics.median(pairs)
    ratio = ours / baseline
    print(f"ROW|orvane-report (all pages) against wine ipconfig /all + wine netstat -s, whole processes"
          f"|{ours:.1f} ms|{baseline:.1f} ms|{ratio:.2f}×|≤ 1.00×|{'met' if ratio <= 1.0 else '**missed**'}")
    print(f"NOTE|Report: {rounds} rounds, whole processes started from the host, so Wine's own start-up "
          f"dominates every run; medians: orvane-report {ours:.1f} ms, ipconfig /all "
          f"{statistics.median(samples['ipconfig /all']):.1f} ms, netstat -s "
          f"{statistics.median(samples['netstat -s']):.1f} ms; exit codes "
          + ", ".join(f"{n} {sorted(c)}" for n, c in codes.items()))


if __name__ == "__main__":
    main()
