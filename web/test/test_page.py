"""The page in Debian's Chromium, headless, driven as a person would, with tavimor-convert as
the judge of every number: the panel, a range warning, a parameter dialog's refusal, a table
file converted, downloaded and cancelled, bad files, the saved selections and the link, the
page offline after the first visit, and for everyone: no console error, no horizontal scroll
at 360 px, every control named, every control reached by the keyboard.

Run by ctest: TAVIMOR_SITE (the built site) and TAVIMOR_CONVERT (the command) in the
environment."""

import base64
import os
import pathlib
import subprocess
import sys
import threading
import time

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from serve import make_server  # noqa: E402

SITE = os.environ.get("TAVIMOR_SITE", "build-web/site")
COMMAND = os.environ.get("TAVIMOR_CONVERT", "build/src/cli/tavimor-convert")
LOGGER = pathlib.Path(__file__).resolve().parents[2] / "tests/cli/fixtures/logger.csv"


def command(*args, stdin=None):
    return subprocess.run([COMMAND, *args], input=stdin, capture_output=True, check=False).stdout


class Server:
    def __init__(self):
        self.httpd = make_server(SITE)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def chromium(profile, downloads):
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", f"--user-data-dir={profile}"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": str(downloads)})
    driver.set_window_size(1280, 1000)
    return driver


@pytest.fixture(scope="module")
def server():
    s = Server()
    yield s
    s.stop()


@pytest.fixture
def browser(tmp_path):
    driver = chromium(tmp_path / "profile", tmp_path)
    driver.downloads = tmp_path
    yield driver
    # No test may leave an error in the console.
    errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
    driver.quit()
    assert errors == []


def open_page(driver, url):
    driver.get(url)
    WebDriverWait(driver, 20).until(
        lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))


def by_id(driver, element_id):
    return driver.find_element(By.ID, element_id)


def value(driver, element_id):
    return driver.execute_script(f"return document.getElementById('{element_id}').value")


def type_into(driver, element_id, text):
    field = by_id(driver, element_id)
    field.send_keys(Keys.CONTROL, "a")
    field.send_keys(Keys.DELETE)
    if text:
        field.send_keys(text)


def choose(driver, element_id, index):
    Select(by_id(driver, element_id)).select_by_index(index)


def wait_until(driver, condition, timeout=20):
    WebDriverWait(driver, timeout).until(lambda d: condition())


def shown_line(*args):
    return command(*args).decode().rstrip("\n")


def test_panel_as_a_person_uses_it(browser, server):
    d = browser
    open_page(d, server.url)
    # State: no saved selections. Action: a dew point of 20 °C into ppmv.
    type_into(d, "from", "20")
    choose(d, "fromUnit", 3)
    assert value(d, "from") == "20.0"  # re-expressed from dew/frost point into dew point
    choose(d, "toUnit", 5)
    assert value(d, "result") == shown_line("--from", "dp-c", "--to", "ppmv", "20") == "23597.0"

    # The graph is painted and described.
    assert "Conversion curve" in by_id(d, "graphText").get_attribute("textContent")
    painted = d.execute_script(
        "const c = document.getElementById('graph');"
        "const p = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
        "let green = 0; for (let i = 0; i < p.length; i += 4) if (p[i+1] > 100 && p[i] < 60 && p[i+2] < 60) ++green;"
        "return green;")
    assert painted > 50

    # The increment and the spread, as the command gives them.
    type_into(d, "increment", "1")
    result, delta = shown_line("--from", "dp-c", "--to", "ppmv", "--increment", "1", "20").split("\t")
    assert value(d, "delta") == delta
    low, high = shown_line("--from", "dp-c", "--to", "ppmv", "--spread", "20").split("\t")[1].split(" … ")
    spread = by_id(d, "spread").text
    assert low in spread and high in spread

    # A pressure unit re-expresses its pressure; computing at 2026.5 mbar moves the result.
    choose(d, "measuredUnit", 1)
    assert value(d, "measured") == "14.696"
    by_id(d, "choice-1017").click()
    type_into(d, "computeAt", "2026.5")
    assert value(d, "result") == shown_line("--from", "dp-c", "--to", "ppmv", "--measured",
                                            "14.696,psia", "--compute-at", "2026.5", "20")

    # A range warning in the desktop's words; the From field asks for a new value.
    choose(d, "fromUnit", 0)
    type_into(d, "from", "500")
    assert by_id(d, "warning").text == "stay between 0 and 123.4 mb."
    assert value(d, "from") == "enter new val"
    type_into(d, "from", "10")
    assert not by_id(d, "warning").is_displayed()

    # A list of values, each converted as if typed: one outside the range converts as 0.
    by_id(d, "listValues").send_keys("10\n20\n500\n")
    by_id(d, "convertList").click()
    at = ["--from", "mbar", "--to", "ppmv", "--measured", "14.696,psia", "--compute-at", "2026.5"]
    assert value(d, "listResults") == command(*at, "10", "20", "0").decode()
    assert "stay between 0 and 123.4 mb." in by_id(d, "listMessage").text
    assert value(d, "from") == "enter new val"  # the fields keep the last line's
    type_into(d, "from", "10")

    # A parameter dialog refuses a bad value and accepts a good one.
    choose(d, "toUnit", 6)
    dialog = by_id(d, "dialog-gas")
    wait_until(d, dialog.is_displayed)
    choose(d, "gasList", 15)
    assert by_id(d, "gasMolWeight").is_enabled()
    type_into(d, "gasMolWeight", "0")
    dialog.find_element(By.CLASS_NAME, "ok").click()
    assert dialog.is_displayed()
    assert "above 0" in dialog.find_element(By.CLASS_NAME, "refusal").text
    type_into(d, "gasMolWeight", "18")
    dialog.find_element(By.CLASS_NAME, "ok").click()
    wait_until(d, lambda: not dialog.is_displayed())
    entry = Select(by_id(d, "toUnit")).first_selected_option.text
    assert entry.endswith(" in some gas with MW= 18.0")
    assert value(d, "result") == shown_line(
        "--from", "mbar", "--to", "ppmw", "--to-mw", "18", "--measured", "14.696,psia",
        "--compute-at", "2026.5", "10")

    # The physics and the natural-gas method, as the command chooses them.
    choose(d, "toUnit", 7)
    by_id(d, "formula-1023").click()
    by_id(d, "gasMethod-1026").click()
    assert value(d, "result") == shown_line(
        "--from", "mbar", "--to", "lb-mmscf", "--formula", "magnus", "--gas-method", "astm",
        "--measured", "14.696,psia", "--compute-at", "2026.5", "10")

    # The converters.
    by_id(d, "tab-1002").click()
    choose(d, "tFromUnit", 0)
    type_into(d, "tFrom", "100")
    choose(d, "tToUnit", 1)
    assert value(d, "tResult") == "212."
    by_id(d, "tab-1003").click()
    type_into(d, "pFrom", "14.7")
    assert value(d, "pResult") == "1013.53"
    by_id(d, "tab-1004").click()
    type_into(d, "aValue", "12")
    assert value(d, "aResult") == "-40.0"


def read_blob(driver, url):
    data = driver.execute_async_script(
        "const done = arguments[1];"
        "fetch(arguments[0]).then(r => r.arrayBuffer()).then(b => {"
        "  let s = ''; const u = new Uint8Array(b);"
        "  for (let i = 0; i < u.length; i += 8192) s += String.fromCharCode(...u.subarray(i, i + 8192));"
        "  done(btoa(s)); });", url)
    return base64.b64decode(data)


def convert_in_page(d, path, column, measured_column):
    by_id(d, "tab-table").click()
    by_id(d, "tableFile").send_keys(str(path))
    wait_until(d, lambda: by_id(d, "tableColumn").is_enabled())
    choose(d, "tableColumn", column - 1)
    choose(d, "tableMeasuredColumn", measured_column)
    by_id(d, "tableConvert").click()
    link = by_id(d, "tableDownload")
    wait_until(d, link.is_displayed, timeout=60)
    return read_blob(d, link.get_attribute("href"))


def test_table_file_converted_as_the_command_converts_it(browser, server, tmp_path):
    d = browser
    open_page(d, server.url)
    # The panel's settings: dew/frost point in °C to ppmv, pressures in psig.
    choose(d, "fromUnit", 1)
    choose(d, "toUnit", 5)
    choose(d, "measuredUnit", 2)
    out = convert_in_page(d, LOGGER, 2, 3)
    expected = command("--csv", "--input", str(LOGGER), "--column", "2", "--from", "dfp-c",
                       "--to", "ppmv", "--measured-column", "3", "--measured", "0,psig")
    assert out == expected
    assert "Converted" in by_id(d, "tableMessage").text

    # A stray quote: the same bytes as the command, and the rows that gave "error" listed.
    stray = tmp_path / "stray.csv"
    stray.write_bytes(b'time,dp,psig\n1,-20,100\n2,"-30,100\n3,-40,50\n')
    out = convert_in_page(d, stray, 2, 3)
    assert out == command("--csv", "--input", str(stray), "--column", "2", "--from", "dfp-c",
                          "--to", "ppmv", "--measured-column", "3", "--measured", "0,psig")
    assert "not closed" in by_id(d, "tableErrors").text

    # Old Mac line ends: a lone CR ends a row in the preview as in the conversion.
    mac = tmp_path / "mac.csv"
    mac.write_bytes(b"time,dp,psig\r1,-20,100\r2,-30,100\r")
    out = convert_in_page(d, mac, 2, 3)
    assert len(d.find_elements(By.CSS_SELECTOR, "#tablePreview tbody tr")) == 3
    assert out == command("--csv", "--input", str(mac), "--column", "2", "--from", "dfp-c",
                          "--to", "ppmv", "--measured-column", "3", "--measured", "0,psig")

    # Cancel stops a long conversion at once (lb/MMSCF under ASTM, a search on every row);
    # nothing is offered for download and the page goes on answering.
    by_id(d, "tab-1001").click()
    choose(d, "fromUnit", 7)
    choose(d, "toUnit", 3)
    by_id(d, "gasMethod-1026").click()
    big = tmp_path / "big.csv"
    with open(big, "w") as f:
        f.write("time,lbs,psig\n")
        f.writelines(f"{i},{1 + i % 4999},{100 + i % 7}\n" for i in range(3_000_000))
    by_id(d, "tab-table").click()
    by_id(d, "tableFile").send_keys(str(big))
    wait_until(d, lambda: "choose the column" in by_id(d, "tableMessage").text)
    choose(d, "tableColumn", 1)
    by_id(d, "tableConvert").click()
    WebDriverWait(d, 30, poll_frequency=0.05).until(
        lambda _: "lines," in by_id(d, "tableMessage").text)
    by_id(d, "tableCancel").click()
    assert by_id(d, "tableMessage").text.startswith("Cancelled")
    time.sleep(1)
    assert by_id(d, "tableMessage").text.startswith("Cancelled")
    assert not by_id(d, "tableDownload").is_displayed()
    by_id(d, "tab-1001").click()
    type_into(d, "from", "100")
    assert value(d, "result") == shown_line("--from", "lb-mmscf", "--to", "dp-c", "--gas-method",
                                            "astm", "--measured", "0,psig", "100")
    by_id(d, "tab-table").click()

    # A binary file, even of 1 GB, is refused at once with the reason.
    huge = tmp_path / "huge.bin"
    with open(huge, "wb") as f:
        f.truncate(1 << 30)
    by_id(d, "tableFile").send_keys(str(huge))
    wait_until(d, lambda: "not a text table" in by_id(d, "tableMessage").text)
    assert not by_id(d, "tableConvert").is_enabled()


def test_saved_selections_file_link_and_storage(browser, server, tmp_path):
    d = browser
    open_page(d, server.url)
    # A desktop user's tavimor.ini, with junk the desktop's reader skips.
    (tmp_path / "desktop").mkdir()
    ini = tmp_path / "desktop" / "tavimor.ini"  # not where the page's download goes
    ini.write_text("[Other]\nkey=1\n[Tavimor]\nFromDew=-40,1\nToDew=0,5\nFromPrs=1,3\n"
                   "junk line without equals\nEquSWVP=1022,1025\nMW=abc\nIsoAndPrsr=1013,1016\n"
                   "Henry=1019,-1,1019,2\n")
    by_id(d, "loadIni").send_keys(str(ini))
    wait_until(d, lambda: "Loaded" in by_id(d, "selectionsMessage").text)
    # A value its dialog refuses took the default, and the page says so as the command does.
    assert ("The saved selections hold a value for Henry that its dialog refuses; its default is "
            "used instead.") in by_id(d, "selectionsMessage").text
    assert value(d, "from") == "-40."
    expected = shown_line("--ini", str(ini), "-40")
    assert value(d, "result") == expected
    assert by_id(d, "isobar-1013").is_selected() and by_id(d, "choice-1016").is_selected()

    # Saved as the desktop saves it, the other section kept.
    by_id(d, "saveIni").click()
    saved = d.downloads / "tavimor.ini"
    wait_until(d, saved.exists)
    text = saved.read_text()
    assert text.startswith("[Other]\nkey=1\n[Tavimor]\n")
    for line in ("FromDew=-40.,1", "ToDew=0,5", "EquSWVP=1022,1025", "IsoAndPrsr=1013,1016",
                 "MW=1,29.000000,1,29.000000", "ConvCategory=1001"):
        assert line in text.splitlines()

    # The link opens the same conversion in a browser that has never seen the page; the
    # storage brings it back on reloading.
    type_into(d, "from", "-20")
    result = value(d, "result")
    wait_until(d, lambda: "FromDew=-20%2C1" in d.current_url)
    link = d.current_url
    other = chromium(tmp_path / "other-profile", tmp_path)
    try:
        open_page(other, link)
        assert value(other, "from") == "-20." and value(other, "result") == result
    finally:
        other.quit()
    open_page(d, server.url.rstrip("/") + "/index.html")
    assert value(d, "from") == "-20." and value(d, "result") == result

    # Files that are no settings file leave the selections as they are, with the reason.
    junk = tmp_path / "junk.ini"
    junk.write_bytes(b"\x00\x01\x02 binary")
    by_id(d, "loadIni").send_keys(str(junk))
    wait_until(d, lambda: "not a text file" in by_id(d, "selectionsMessage").text)
    assert value(d, "result") == result


def test_offline_after_the_first_visit(browser, tmp_path):
    d = browser
    own = Server()  # a server of its own, cut below
    try:
        open_page(d, own.url)
        wait_until(d, lambda: d.execute_script("return !!navigator.serviceWorker.controller"))
    finally:
        own.stop()
    open_page(d, own.url)
    type_into(d, "from", "-40")
    choose(d, "toUnit", 5)
    assert value(d, "result") == shown_line("--from", "dfp-c", "--to", "ppmv", "-40")
    # The table's Worker and its engine come from the cache too.
    small = tmp_path / "small.csv"
    small.write_text("a,dp\n1,-20\n")
    by_id(d, "tab-table").click()
    by_id(d, "tableFile").send_keys(str(small))
    wait_until(d, lambda: by_id(d, "tableColumn").is_enabled())
    choose(d, "tableColumn", 1)
    by_id(d, "tableConvert").click()
    wait_until(d, lambda: by_id(d, "tableDownload").is_displayed())
    # The browser's own attempt to update the service worker from the stopped server is no
    # error of the page.
    errors = [e for e in d.get_log("browser") if e["level"] == "SEVERE"
              and "sw.js" not in e["message"] and "ERR_CONNECTION_REFUSED" not in e["message"]]
    assert errors == []


ROLES_NEEDING_NAMES = {"textbox", "combobox", "button", "radio", "checkbox", "spinbutton",
                       "slider", "tab", "link", "listbox", "searchbox"}


def unnamed_controls(driver):
    """The roles of the controls shown without an accessible name (Chromium's own computation
    of the name, as a screen reader gets it); fails when the tree shows almost no control."""
    tree = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})
    controls = 0
    unnamed = []
    for node in tree["nodes"]:
        role = node.get("role", {}).get("value")
        if node.get("ignored") or role not in ROLES_NEEDING_NAMES:
            continue
        controls += 1
        if not str(node.get("name", {}).get("value", "")).strip():
            unnamed.append(role)
    assert controls >= 3
    return unnamed


def test_for_everyone(browser, server):
    d = browser
    d.set_window_size(360, 800)
    open_page(d, server.url)
    for tab in ("tab-1001", "tab-1002", "tab-1003", "tab-1004", "tab-table"):
        by_id(d, tab).click()
        assert d.execute_script(
            "return document.documentElement.scrollWidth <= document.documentElement.clientWidth")
        assert unnamed_controls(d) == []
    # Each parameter dialog's controls are named too.
    by_id(d, "tab-1001").click()
    for unit, dialog_id in ((6, "dialog-gas"), (10, "dialog-liquid"), (9, "dialog-ambient"),
                            (8, "dialog-density")):
        choose(d, "fromUnit", unit)
        dialog = by_id(d, dialog_id)
        wait_until(d, dialog.is_displayed)
        assert unnamed_controls(d) == []
        assert d.execute_script(
            "return document.documentElement.scrollWidth <= document.documentElement.clientWidth")
        # Escape does not close it: it ends only through OK.
        dialog.find_element(By.CSS_SELECTOR, "input, select").send_keys(Keys.ESCAPE)
        assert dialog.is_displayed()
        dialog.find_element(By.CLASS_NAME, "ok").click()
        wait_until(d, lambda: not dialog.is_displayed())

    # The keyboard reaches every control of the panel, from the top.
    d.set_window_size(1280, 1000)
    d.execute_script("document.activeElement.blur(); window.scrollTo(0, 0)")
    reached = set()
    for _ in range(80):
        ActionChains(d).send_keys(Keys.TAB).perform()
        active = d.switch_to.active_element
        reached.update({active.get_attribute("id"), active.get_attribute("name")})
    wanted = d.execute_script(
        "return [...document.querySelectorAll('#panel-1001 input, #panel-1001 select, "
        "#panel-1001 button')].filter(e => !e.disabled && (e.offsetParent !== null || "
        "e.type === 'file')).map(e => e.type === 'radio' ? e.name : e.id)")
    assert len(wanted) > 20 and sorted(set(wanted) - reached) == []
