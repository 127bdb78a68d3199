"""The page's speed and size beside the native build, on this machine, in one run:

    /usr/bin/python3 bench/web/bench_web.py build-web/site build-release/bench/tavimor_bench [REPS]

- the whole per-value path on 10^6 values in a Worker in Chromium (tavimor.js's convert)
  against the native PerValuePath benchmarks, interleaved, medians of REPS runs (default 5);
- the first result after opening the page from 127.0.0.1: a first visit and a visit from the
  service worker's cache, medians of fresh browser profiles;
- the bytes a browser transfers for the page, each file compressed with gzip -9.
The machine is shared: read the figures with the load printed first."""

import gzip
import json
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "web"))
sys.path.insert(0, str(HERE.parents[1] / "web" / "test"))
from serve import make_server  # noqa: E402
from test_page import chromium, open_page  # noqa: E402

site, native = sys.argv[1], sys.argv[2]
reps = int(sys.argv[3]) if len(sys.argv) > 3 else 5
print("load:", open("/proc/loadavg").read().split()[:3], "cores:", os.cpu_count())

work = pathlib.Path(tempfile.mkdtemp())
served = work / "site"
shutil.copytree(site, served)
shutil.copy(HERE / "per_value.js", served / "per_value.js")
server = make_server(str(served))
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}/"

browser = chromium(work / "profile", work)
open_page(browser, url)
browser.set_script_timeout(600)


def browser_run():
    return browser.execute_async_script(
        "const done = arguments[0];"
        "const w = new Worker('per_value.js', {type: 'module'});"
        "w.onmessage = (e) => { w.terminate(); done(e.data); };"
        "w.postMessage(0);")


def native_run():
    out = subprocess.run([native, "--benchmark_filter=PerValuePath", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True).stdout
    return {b["name"].split("/")[1]: b["real_time"] for b in json.loads(out)["benchmarks"]}


wasm = {}
cpp = {}
for _ in range(reps):
    for name, ms in native_run().items():
        cpp.setdefault(name, []).append(ms)
    for name, ms in browser_run().items():
        wasm.setdefault(name, []).append(ms)
browser.quit()
print("\n10^6 values, median ms (native / WebAssembly in a Worker / ratio):")
for name in cpp:
    n, w = statistics.median(cpp[name]), statistics.median(wasm[name])
    print(f"  {name:20s} {n:8.1f} {w:8.1f}  {w / n:4.2f}x")

first, again = [], []
for k in range(reps):
    b = chromium(work / f"fresh-{k}", work)
    try:
        for visits in (first, again):
            open_page(b, url)
            visits.append(b.execute_script("return Number(document.body.dataset.readyMs)"))
            b.execute_script("return navigator.serviceWorker.ready.then(() => true)")
    finally:
        b.quit()
print(f"\nfirst result after opening, median ms: first visit {statistics.median(first):.0f}, "
      f"again (cached) {statistics.median(again):.0f}")

total = 0
raw = 0
for path in sorted(p for p in served.rglob("*") if p.is_file() and p.name != "per_value.js"):
    data = path.read_bytes()
    raw += len(data)
    total += len(gzip.compress(data, 9))
print(f"\npage transfer: {raw / 1024:.0f} KB, {total / 1024:.0f} KB compressed (gzip -9)")
server.shutdown()
shutil.rmtree(work, ignore_errors=True)
