#!/usr/bin/env python3
"""Nanoseconds per value of the Python package: arrays of 10^6 values on one thread beside
the C++ benchmarks of the same conversions and a NumPy-only reference of the formula,
single calls given every way, and where a second thread starts to pay.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_convert.py --build build
    ... --before /tmp/old-build/python   # the same rounds, interleaved, for an older package

Times are CPU seconds per value (the machine may be shared), except the threads' wall
clock. Each round measures everything once; the figures are the medians of the rounds, and
with --before the two packages take turns, round by round. Not run by ctest.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

ARRAY = 1_000_000
# name, from unit, to unit, options, value range; with their C++ benchmarks: the whole path
# on a column, and the bare conversion steps.
ARRAYS = [
    ("dew point °C → vapour pressure, Hyland-Wexler", "dp-c", "mbar",
     {"formula": "hyland-wexler"}, (0, 60), "Column/DewPointToPartialPressure"),
    ("frost point °C → vapour pressure, Hyland-Wexler", "dfp-c", "mbar",
     {"formula": "hyland-wexler"}, (-60, 0), "Column/FrostPointToPartialPressure"),
    ("dew point °C → vapour pressure, Goff-Gratch", "dp-c", "mbar", {}, (0, 60), None),
    ("ppmv → dew point °C", "ppmv", "dp-c", {}, (1, 100_000), "Convert/PpmvToDewPoint"),
]
# The C++ benchmark Convert/... takes 1024 evenly spaced values in turn: the same here.
SPACED = "ppmv → dew point °C"
# Where a second thread starts to pay, without a search and with one (whose grid a new
# thread fills first): name, from, to, options, value range, sizes.
THREADS = [
    ("dew point → vapour pressure", "dp-c", "mbar", {"formula": "hyland-wexler"}, (0, 60),
     [10_000, 30_000, 100_000, 1_000_000]),
    ("ppmv → dew point", "ppmv", "dp-c", {}, (1, 100_000), [100_000, 300_000, 500_000, 1_000_000]),
]


def cpu_seconds(run, repeat):
    """The least CPU time of repeat runs."""
    best = float("inf")
    for _ in range(repeat):
        start = time.process_time()
        run()
        best = min(best, time.process_time() - start)
    return best


def scalar_calls(tavimor):
    params = tavimor.Params(mw=18)
    settings = tavimor.Settings("dp-c", "ppmw", to_params=params)
    return [
        ("convert, keywords", lambda: tavimor.convert(20.0, "dp-c", "ppmv", measured=2000.0,
                                                      formula="sonntag")),
        ("convert, Params", lambda: tavimor.convert(20.0, "dp-c", "ppmw", to_params=params)),
        ("convert, dict", lambda: tavimor.convert(20.0, "dp-c", "ppmw", to_params={"mw": 18})),
        ("Settings.convert", lambda: settings.convert(20.0)),
        ("increment", lambda: tavimor.increment(20.0, 0.5, "dp-c", "ppmv")),
        ("saturation_pressure", lambda: tavimor.saturation_pressure(20.0)),
        ("dew_point", lambda: tavimor.dew_point(1.0)),
        ("frost_point", lambda: tavimor.frost_point(1.0)),
    ]


def one_round():
    """One measurement of everything, as a dict of ns per value (per call)."""
    import numpy as np
    import tavimor

    rng = np.random.default_rng(2024)
    out = {}
    for name, from_unit, to_unit, options, (low, high), _ in ARRAYS:
        values = rng.uniform(low, high, ARRAY)
        if name == SPACED:
            values = np.resize(low + (high - low) * np.arange(1024) / 1024, ARRAY)
        settings = tavimor.Settings(from_unit, to_unit, **options)
        out[name] = cpu_seconds(lambda: settings.convert(values, threads=1), 3) / ARRAY * 1e9
    # The same Hyland-Wexler water equation in NumPy's whole-array operations.
    t = rng.uniform(0, 60, ARRAY) + 273.15

    def numpy_reference():
        s = (4.1764768e-05 * t * t - (5800.2206 / t + 0.048640239 * t + 5.516256)
             - 1.4452093000000001e-08 * t * t * t + 6.5459673 * np.log(t))
        return 10 * np.exp(s)

    out["NumPy reference"] = cpu_seconds(numpy_reference, 3) / ARRAY * 1e9
    empty = cpu_seconds(lambda: [None for _ in range(20_000)], 5) / 20_000
    for name, call in scalar_calls(tavimor):
        calls = 20_000
        seconds = cpu_seconds(lambda: [call() for _ in range(calls)], 5) / calls
        out[name] = (seconds - empty) * 1e9
    # Wall clock of one thread and of two, where the machine has a second core to give.
    for name, from_unit, to_unit, options, (low, high), sizes in THREADS:
        settings = tavimor.Settings(from_unit, to_unit, **options)
        for size in sizes:
            values = rng.uniform(low, high, size)
            for threads in (1, None):
                best = float("inf")
                for _ in range(max(3, 300_000 // size)):
                    start = time.perf_counter()
                    settings.convert(values, threads=threads)
                    best = min(best, time.perf_counter() - start)
                which = "one thread" if threads == 1 else "threads as chosen"
                out[f"{name}, {size} values, {which}, wall"] = best / size * 1e9
    return out


def cpp_figures(bench):
    """ns per value of the C++ benchmarks: the floor loop, and those named in ARRAYS."""
    names = ["Floor/HylandWexlerWater"] + [row[5] for row in ARRAYS if row[5]]
    done = subprocess.run(
        [bench, "--benchmark_filter=^(" + "|".join(names) + ")$", "--benchmark_format=json",
         "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
        capture_output=True, text=True, check=True)
    rows = json.loads(done.stdout)["benchmarks"]
    figures = {}
    for row in rows:
        if row.get("aggregate_name") == "median":
            ns = row["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[row["time_unit"]]
            per = 1 if row["run_name"].startswith("Convert/") else ARRAY
            figures[row["run_name"]] = ns / per
    return figures


def run_rounds(paths, rounds):
    """Rounds of one_round() in a fresh interpreter per package, taking turns."""
    results = {path: [] for path in paths}
    for _ in range(rounds):
        for path in paths:
            env = dict(os.environ, PYTHONPATH=path)
            done = subprocess.run([sys.executable, __file__, "--one-round"], env=env,
                                  capture_output=True, text=True, check=True)
            results[path].append(json.loads(done.stdout))
    return {path: {key: statistics.median(r[key] for r in rounds_ if key in r)
                   for key in rounds_[0]} for path, rounds_ in results.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="build tree (default: build)")
    parser.add_argument("--before", help="the python/ folder of an older build to compare")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--one-round", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.one_round:
        print(json.dumps(one_round()))
        return
    now = os.environ.get("PYTHONPATH", os.path.join(args.build, "python"))
    paths = [now] + ([args.before] if args.before else [])
    medians = run_rounds(paths, args.rounds)
    bench = os.path.join(args.build, "bench", "tavimor_bench")
    cpp = cpp_figures(bench) if os.path.exists(bench) else {}
    with open("/proc/loadavg") as load:
        print(f"{args.rounds} rounds, medians; load average {load.read().split()[:3]}")
    floor = cpp.get("Floor/HylandWexlerWater", float("nan"))
    print(f"C++: plain loop of the Hyland-Wexler water equation {floor:.1f} ns per value")
    header = "| ns per value | now |" + (" before |" if args.before else "") + " C++ |"
    print(header)
    print("|---" * (header.count("|") - 1) + "|")
    keys = list(medians[now])
    for key in keys:
        row = f"| {key} | {medians[now][key]:.1f} |"
        if args.before:
            row += f" {medians[args.before].get(key, float('nan')):.1f} |"
        cpp_name = next((r[5] for r in ARRAYS if r[0] == key and r[5]), None)
        row += f" {cpp[cpp_name]:.1f} |" if cpp_name in cpp else " |"
        print(row)


if __name__ == "__main__":
    main()
