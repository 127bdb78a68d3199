#!/usr/bin/env python3
"""Time per value of tavimor.convert on 10^6-element arrays, beside a plain Python loop
calling it per value, tavimor-convert through a pipe, and the C++ benchmarks of the same
conversion (tavimor_bench), for ppmv -> dew point and lb/MMSCF (ASTM) -> dew point.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_convert.py --build build

Times are CPU seconds (the machine may be shared), the best of --repeat runs; "wall" is
added for the runs on several threads. Not run by ctest.
"""

import argparse
import json
import os
import resource
import subprocess
import tempfile
import time

import numpy as np

import tavimor

CASES = [
    # name, from, options, value range, C++ benchmarks Convert/... (the two conversion steps)
    # and Recompute/... (the whole path the package takes per value)
    ("ppmv -> dew point", "ppmv", {}, (1, 100_000), "PpmvToDewPoint"),
    ("lb/MMSCF (ASTM) -> dew point", "lb-mmscf", {"gas_method": "astm"}, (1, 5_000),
     "LbsAstmToDewPoint"),
]


def best(repeat, run):
    """The best (cpu, wall) seconds of repeat runs of run()."""
    times = []
    for _ in range(repeat):
        cpu, wall = time.process_time(), time.perf_counter()
        run()
        times.append((time.process_time() - cpu, time.perf_counter() - wall))
    return min(t[0] for t in times), min(t[1] for t in times)


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def command_seconds(convert, from_unit, options, text_file, repeat):
    """Best CPU and wall seconds of tavimor-convert reading the values from a pipe."""
    args = [convert, "--from", from_unit, "--to", "dp-c", "--raw"]
    for key, value in options.items():
        args += ["--" + key.replace("_", "-"), value]
    times = []
    for _ in range(repeat):
        cpu, wall = children_cpu(), time.perf_counter()
        with open(text_file, "rb") as source:
            feeder = subprocess.Popen(["cat"], stdin=source, stdout=subprocess.PIPE)
            subprocess.run(args, stdin=feeder.stdout, stdout=subprocess.DEVNULL, check=False)
            feeder.stdout.close()
            feeder.wait()
        # cat's share is small beside the conversion; it is counted too.
        times.append((children_cpu() - cpu, time.perf_counter() - wall))
    return min(t[0] for t in times), min(t[1] for t in times)


def cpp_ns_per_value(bench, name):
    out = subprocess.run(
        [bench, f"--benchmark_filter=^{name}$", "--benchmark_format=json",
         "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
        capture_output=True, text=True, check=True).stdout
    rows = json.loads(out)["benchmarks"]
    return min(r["cpu_time"] for r in rows if r.get("aggregate_name") in ("mean", "median"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="build tree (default: build)")
    parser.add_argument("--size", type=int, default=1_000_000)
    parser.add_argument("--loop-size", type=int, default=20_000,
                        help="values converted by the Python loop (default: 20000)")
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    convert = os.path.join(args.build, "src/cli/tavimor-convert")
    bench = os.path.join(args.build, "bench/tavimor_bench")
    rng = np.random.default_rng(2024)

    rows = []
    for name, from_unit, options, (low, high), cpp_name in CASES:
        # The C++ benchmark's 1024 evenly spaced values, repeated; and random values.
        spaced = np.resize(low + (high - low) * np.arange(1024) / 1024, args.size)
        values = rng.uniform(low, high, args.size)
        settings = tavimor.Settings(from_unit, "dp-c", **options)
        spaced_cpu, _ = best(args.repeat, lambda: settings.convert(spaced, threads=1))
        one_cpu, _ = best(args.repeat, lambda: settings.convert(values, threads=1))
        all_cpu, all_wall = best(args.repeat, lambda: settings.convert(values))
        few = values[:args.loop_size].tolist()
        loop_cpu, _ = best(max(1, args.repeat // 2), lambda: [
            tavimor.convert(v, from_unit, "dp-c", **options) for v in few])
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write("\n".join("%.9g" % v for v in values))
            f.write("\n")
        try:
            cmd_cpu, cmd_wall = command_seconds(convert, from_unit, options, f.name, args.repeat)
        finally:
            os.unlink(f.name)
        steps, path = (cpp_ns_per_value(bench, f"{kind}/{cpp_name}") if os.path.exists(bench)
                       else float("nan") for kind in ("Convert", "Recompute"))
        n = args.size
        rows.append((name, steps, path, spaced_cpu / n * 1e9, one_cpu / n * 1e9, all_cpu / n * 1e9,
                     all_wall / n * 1e9, loop_cpu / len(few) * 1e9, cmd_cpu / n * 1e9,
                     cmd_wall / n * 1e9))

    print(f"{args.size} values, best of {args.repeat}; ns per value, CPU time unless 'wall'; "
          f"{os.cpu_count()} cores")
    print("| conversion | C++ steps | C++ whole path | array, the C++ values (x steps, x path) "
          "| array, random values | array, random, all cores (CPU / wall) "
          "| Python loop, random (x array) | tavimor-convert pipe, random (CPU / wall) |")
    print("|---|---|---|---|---|---|---|---|")
    for name, steps, path, spaced, one, all_cpu, all_wall, loop, cmd_cpu, cmd_wall in rows:
        print(f"| {name} | {steps:.1f} | {path:.1f} "
              f"| {spaced:.1f} ({spaced / steps:.2f}x, {spaced / path:.2f}x) | {one:.1f} "
              f"| {all_cpu:.1f} / {all_wall:.1f} | {loop:.0f} ({loop / one:.0f}x) "
              f"| {cmd_cpu:.0f} / {cmd_wall:.0f} |")


if __name__ == "__main__":
    main()
