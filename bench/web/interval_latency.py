"""The time from a keystroke in the From field to the result and to its 95 % interval in the
page, in Debian's Chromium, headless, for a fast and a slow family of conversions:

    /usr/bin/python3 bench/web/interval_latency.py build-web/site [REPS]

Each keystroke types a new value (an input event, as the field sends it); the result is in
place when the event's handler returns, the interval when the uncertainty Worker has
answered and the next frame is drawn. Medians of REPS keystrokes (default 9); the first "±"
typed, which starts the Worker, is timed apart. The machine is shared: read the figures
with the load printed first."""

import pathlib
import statistics
import sys
import tempfile
import threading

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "web"))
sys.path.insert(0, str(HERE.parents[1] / "web" / "test"))
from serve import make_server  # noqa: E402
from test_page import by_id, choose, chromium, open_page, type_into  # noqa: E402

site = sys.argv[1]
reps = int(sys.argv[2]) if len(sys.argv) > 2 else 9
print("load:", open("/proc/loadavg").read().split()[:3])

server = make_server(site)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}/"
work = pathlib.Path(tempfile.mkdtemp())

# [field, text]: ms to the result (the handler's return) and to the interval drawn.
KEYSTROKE = """
const [id, text, done] = arguments;
const interval = document.getElementById("interval");
const field = document.getElementById(id);
const t0 = performance.now();
let result = 0;
const watch = new MutationObserver(() => {
  if (interval.dataset.state !== "ready") return;
  watch.disconnect();
  requestAnimationFrame(() => done([result, performance.now() - t0]));
});
watch.observe(interval, { attributes: true, attributeFilter: ["data-state"] });
field.value = text;
field.dispatchEvent(new Event("input"));
result = performance.now() - t0;
"""


def at_800_psig(d):
    choose(d, "measuredUnit", 2)
    type_into(d, "measured", "800")
    by_id(d, "choice-1016").click()


def astm_at_800_psig(d):
    by_id(d, "gasMethod-1026").click()
    at_800_psig(d)


# name, From and To rows, the setting up, the uncertainties typed, the values typed
FAMILIES = [
    ("frost point ± 2 °C -> ppmv (fast)", 1, 5, lambda d: None, [("fromU", "2")],
     [f"-{60 + i / 10:.1f}" for i in range(reps)]),
    ("dew point ± 2 °C at 800 psig ± 1 % -> lb/MMSCF (the tariff example)", 3, 7, at_800_psig,
     [("fromU", "2"), ("measuredU", "1%")], [f"-{2 + i / 10:.1f}" for i in range(reps)]),
    ("lb/MMSCF (ASTM) ± 0.2 at 800 psig ± 1 % -> dew point (slow)", 7, 3, astm_at_800_psig,
     [("fromU", "0.2"), ("measuredU", "1%")], [f"{7 + i / 10:.1f}" for i in range(reps)]),
]

for name, from_unit, to_unit, setup, uncertainties, values in FAMILIES:
    d = chromium(work / f"profile-{from_unit}", work)
    try:
        d.set_script_timeout(60)
        open_page(d, url)
        choose(d, "fromUnit", from_unit)
        choose(d, "toUnit", to_unit)
        setup(d)
        type_into(d, "from", "1")
        starts = [d.execute_async_script(KEYSTROKE, field, text) for field, text in uncertainties]
        times = [d.execute_async_script(KEYSTROKE, "from", v) for v in values]
    finally:
        d.quit()
    intervals = sorted(t[1] for t in times)
    print(f"{name}:\n  result {statistics.median(t[0] for t in times):.1f} ms, "
          f"interval {statistics.median(intervals):.0f} ms "
          f"({intervals[0]:.0f} to {intervals[-1]:.0f}); the first ±, starting the Worker, "
          f"{starts[0][1]:.0f} ms")
server.shutdown()
