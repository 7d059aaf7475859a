#!/usr/bin/env python3
"""Reads Google Benchmark JSON and prints one '<figure>: <value>' line per figure.

Benchmarks name their figure in their label:
  linearity:NAME    time per byte at the largest size / time per byte at the smallest size
                    (the size is the benchmark's first argument; it reports bytes processed)
  value:NAME:UNIT   the benchmark's real time in UNIT (ns, us, ms)
"""
import json
import sys

UNITS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def real_ns(b):
    return b["real_time"] * UNITS[b.get("time_unit", "ns")]


def main():
    runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_type") != "aggregate"]
    linear, values = {}, {}
    for b in runs:
        label = b.get("label", "")
        if label.startswith("linearity:"):
            linear.setdefault(label.split(":", 1)[1], []).append(b)
        elif label.startswith("value:"):
            _, name, unit = label.split(":")
            values[name] = real_ns(b) / UNITS[unit]
    for name, group in linear.items():
        group.sort(key=lambda b: int(b["name"].split("/")[1]))
        small, large = group[0], group[-1]
        print(f"{name}: {small['bytes_per_second'] / large['bytes_per_second']:.2f}")
        for b in group:
            print(f"# {b['name']}: {b['bytes_per_second'] / 1e6:.1f} MB/s")
    for name, value in values.items():
        print(f"{name}: {value:.3g}")


if __name__ == "__main__":
    main()
