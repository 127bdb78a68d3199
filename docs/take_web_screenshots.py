"""Screenshots of the page for the README, at a phone's width (360 px) and a desktop's:

    /usr/bin/python3 docs/take_web_screenshots.py build-web/site docs

The page is served on the loopback and shown in Debian's Chromium, headless, converting 1000
ppmv ± 5 % measured at 100 psig ± 0.5 psi into a dew/frost point, with its 95 % interval and
the isobars of the computed pressure."""

import pathlib
import sys
import tempfile
import threading

from selenium.webdriver.support.ui import Select

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "web"))
sys.path.insert(0, str(ROOT / "web" / "test"))
from serve import make_server  # noqa: E402
from test_page import by_id, chromium, open_page, type_into, wait_until  # noqa: E402

site, out = sys.argv[1], pathlib.Path(sys.argv[2])
server = make_server(site)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_address[1]}/"
work = pathlib.Path(tempfile.mkdtemp())
for name, width, height in (("screenshot-web-phone.png", 360, 900),
                            ("screenshot-web-desktop.png", 1280, 900)):
    d = chromium(work / name, work)
    try:
        d.set_window_size(width, height)
        open_page(d, url)
        Select(by_id(d, "fromUnit")).select_by_index(5)
        type_into(d, "from", "1000")
        Select(by_id(d, "measuredUnit")).select_by_index(2)
        type_into(d, "measured", "100")
        by_id(d, "choice-1016").click()
        by_id(d, "isobar-1015").click()
        type_into(d, "increment", "1")
        type_into(d, "fromU", "5%")
        type_into(d, "measuredU", "0.5")
        wait_until(d, lambda: by_id(d, "interval").get_attribute("data-state") == "ready")
        d.execute_script("document.activeElement.blur(); window.scrollTo(0, 0)")
        d.save_screenshot(str(out / name))
    finally:
        d.quit()
server.shutdown()
