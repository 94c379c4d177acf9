#!/usr/bin/env python3
"""Summarises a kesmora-bench JSON result (--benchmark_format=json or --benchmark_out) as Markdown:
medians of the repetitions, each frame against the floor of its size, the list step against two
frames of the heaviest body, and the allocations per frame.

Usage: bench/summarize.py RESULT.json
"""
import json
import sys


def medians(path):
    with open(path) as f:
        data = json.load(f)
    rows = {}
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        aggregate = b.get("aggregate_name")
        # With repetitions only the median row counts; a single run has no aggregate rows.
        if aggregate not in (None, "median"):
            continue
        if aggregate is None and name in rows:
            continue
        if b.get("error_occurred"):
            rows[name] = {"error": b.get("error_message", "skipped")}
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "ns")]
        row = {"real_us": b["real_time"] * scale, "cpu_us": b["cpu_time"] * scale}
        for key in ("new_per_iter", "heap_per_iter", "first_frame_heap", "faces", "bodies", "skipped"):
            if key in b:
                row[key] = b[key]
        rows[name] = row
    return data.get("context", {}), rows


def main():
    context, rows = medians(sys.argv[1])
    print(f"Machine: {context.get('num_cpus', '?')} cores at {context.get('mhz_per_cpu', '?')} MHz; "
          f"repetitions: {context.get('repetitions', 1) if 'repetitions' in context else 'see run'}")
    print()
    print("| benchmark | real µs | CPU µs | real / floor | CPU / floor | new/frame | heap/frame |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    worst = {}
    for name, row in rows.items():
        if "error" in row:
            print(f"| {name} | skipped: {row['error']} | | | | | |")
            continue
        ratio_real = ratio_cpu = ""
        if name.startswith("frame/"):
            size = name.split("/")[2]
            floor = rows.get(f"floor/{size}")
            if floor and "real_us" in floor:
                r, c = row["real_us"] / floor["real_us"], row["cpu_us"] / floor["cpu_us"]
                ratio_real, ratio_cpu = f"{r:.2f}", f"{c:.2f}"
                if c > worst.get(size, (0.0, ""))[0]:
                    worst[size] = (c, name)
        new = row.get("new_per_iter", "")
        heap = row.get("heap_per_iter", "")
        fmt = lambda v: f"{v:.2f}".rstrip("0").rstrip(".") if isinstance(v, float) else str(v)
        print(f"| {name} | {row['real_us']:.1f} | {row['cpu_us']:.1f} | {ratio_real} | {ratio_cpu} | "
              f"{fmt(new)} | {fmt(heap)} |")
    print()
    for size, (ratio, name) in sorted(worst.items()):
        print(f"- largest frame / floor at {size} (CPU time): {ratio:.2f} ({name}); target <= 3")
    for size in ("1008x534", "1920x1080"):
        switch = rows.get(f"switch/{size}")
        frames = [(r["cpu_us"], n) for n, r in rows.items()
                  if n.startswith(f"frame/6/{size}/") and "cpu_us" in r]
        if switch and "cpu_us" in switch and frames:
            heaviest, name = max(frames)
            print(f"- switch/{size} / (2 x {name}) (CPU time): {switch['cpu_us'] / (2 * heaviest):.2f}; "
                  f"target <= 1")


if __name__ == "__main__":
    main()
