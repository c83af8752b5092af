#!/usr/bin/env python3
"""Turns the benchmark's JSON output into the Markdown table of docs/performance.md.

Usage: vlt_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \\
           --benchmark_out=run.json --benchmark_out_format=json
       bench/table.py run.json
Each figure is the median of the repetitions (wall time). Reads are set against stb_image
(its time over ours) and against the memcpy floor (our time over it); the rest against the
reach the project set itself.
"""
import json
import sys

UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# Upper bounds in milliseconds, by name prefix.
REACH = [
    ("bigf_conversion_worst_case", 2.0),
    ("bigf_paint", 2.0),
    ("command/", 5.0),
]


def medians(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    out = {}
    for run in runs:
        if run.get("aggregate_name", "median") != "median" or run.get("error_occurred"):
            continue
        out[run.get("run_name", run["name"])] = run["real_time"] * UNIT[run["time_unit"]]
    return out


def fmt(ms):
    return f"{ms * 1000:.1f} µs" if ms < 1 else f"{ms:.2f} ms"


def main(path):
    times = medians(path)
    print("| Benchmark | Median | Compared with | Ratio |")
    print("|---|---:|---|---:|")
    for name, ms in times.items():
        if name.startswith(("bmp_read_stb_image/", "bmp_read_memcpy_floor/")):
            continue
        fmt_name = f"`{name}`"
        kind = name.split("/", 1)[-1]
        if name.startswith("bmp_read/") or name.startswith("bmp_write/"):
            stb = times.get("bmp_read_stb_image/" + kind)
            floor = times.get("bmp_read_memcpy_floor/" + kind)
            if stb and name.startswith("bmp_read/"):
                print(f"| {fmt_name} | {fmt(ms)} | stb_image {fmt(stb)} | {stb / ms:.1f}x faster |")
                fmt_name = ""
            if floor and kind != "rle8":
                print(f"| {fmt_name} | {'' if not fmt_name else fmt(ms)} | memcpy {fmt(floor)} "
                      f"| {ms / floor:.2f}x the floor |")
                continue
            if not fmt_name:
                continue
        reach = next((limit for prefix, limit in REACH if name.startswith(prefix)), None)
        if reach:
            print(f"| {fmt_name} | {fmt(ms)} | reach {fmt(reach)} | {ms / reach:.2f} of it |")
        else:
            print(f"| {fmt_name} | {fmt(ms)} | | |")


if __name__ == "__main__":
    main(sys.argv[1])
