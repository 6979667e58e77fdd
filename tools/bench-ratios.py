#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Turns Google Benchmark JSON output into a table of KoCalvix-to-peer ratios.

Benchmarks named "<Operation>/KoCalvix[/<args>]" are paired with "<Operation>/<Peer>[/<args>]"
from the same run (Eigen, Boost, ...). The ratio is KoCalvix time / peer time: below 1 KoCalvix
is faster. Times are CPU times (on a shared machine wall time also counts other processes), the
smallest of the repetitions when the run repeats (--benchmark_repetitions). Usage:

    build/release/bench/fixed_matrix_bench --benchmark_format=json --benchmark_repetitions=3 \
        | tools/bench-ratios.py
    tools/bench-ratios.py run1.json run2.json
"""
import json
import sys


def rows(report):
    times = {}
    for b in report["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration":
            continue
        parts = b["name"].split("/")
        if len(parts) < 2:
            continue
        operation = "/".join([parts[0]] + parts[2:])
        ns = b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
        impls = times.setdefault(operation, {})
        impls[parts[1]] = min(ns, impls.get(parts[1], ns))
    for operation, impls in times.items():
        if "KoCalvix" not in impls:
            continue
        for peer, peer_ns in impls.items():
            if peer != "KoCalvix":
                yield operation, impls["KoCalvix"], peer, peer_ns


def main():
    sources = [open(name) for name in sys.argv[1:]] or [sys.stdin]
    print("| operation | KoCalvix ns | peer | peer ns | ratio |")
    print("|---|---:|---|---:|---:|")
    for source in sources:
        for operation, ko, peer, other in rows(json.load(source)):
            print(f"| {operation} | {ko:.1f} | {peer} | {other:.1f} | {ko / other:.2f}x |")


if __name__ == "__main__":
    main()
