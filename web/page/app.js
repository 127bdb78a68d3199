// The page: loads the engine, shows the category chosen, keeps the selections in the
// browser's storage and in the address (a link reproduces the conversion), saves and loads
// a tavimor.ini in the desktop's format, and registers the service worker that keeps the
// page working offline.

import { setUpConverters } from "./converters.js";
import { ParameterDialogs } from "./dialogs.js";
import { MoisturePanel } from "./moisture.js";
import { PageEngine } from "./page-engine.js";
import { TableConversion } from "./table.js";
import { load } from "./tavimor.js";

const $ = (id) => document.getElementById(id);
const STORAGE_KEY = "tavimor.ini";
const MAX_INI_BYTES = 1 << 20;
const CATEGORIES = ["1001", "1002", "1003", "1004", "table"];

let engine;
let panel;
let category = 1001;
// The tavimor.ini last loaded, so that saving keeps every other line of the desktop's file.
let loadedIni = "";

// The selections as the text of an INI section, from pairs [key, value].
const iniOf = (pairs) => "[Tavimor]\n" + pairs.map(([k, v]) => `${k}=${v}\n`).join("");

function storedIni() {
  try {
    return localStorage.getItem(STORAGE_KEY) ?? "";
  } catch {
    return "";
  }
}

// The selections in the address after "#", as key=value pairs.
function addressIni() {
  if (location.hash.length < 2) return null;
  const pairs = [];
  for (const [key, value] of new URLSearchParams(location.hash.slice(1))) pairs.push([key, value]);
  return pairs.length ? iniOf(pairs) : null;
}

function remember() {
  const pairs = engine.keys(category);
  const ini = iniOf(pairs);
  try {
    localStorage.setItem(STORAGE_KEY, ini);
  } catch {
    // Storage may be off (private windows); the page works without it.
  }
  const hash = "#" + new URLSearchParams(pairs).toString();
  if (location.hash !== hash) history.replaceState(null, "", hash);
}

function showCategory(id, focus = false) {
  for (const tab of document.querySelectorAll("[role=tab]")) {
    const selected = tab.id === `tab-${id}`;
    tab.setAttribute("aria-selected", String(selected));
    tab.tabIndex = selected ? 0 : -1;
    $(tab.getAttribute("aria-controls")).hidden = !selected;
    if (selected && focus) tab.focus();
  }
  if (id !== "table") category = Number(id);
  if (id === "1001") panel.paint();
  if (id === "table") $("tableSettings").textContent = "With: " + panelSummary();
  remember();
}

function panelSummary() {
  const text = (id) => $(id).options[$(id).selectedIndex]?.text ?? "";
  const at = $("choice-1016").checked ? "the measured pressure"
    : `${$("computeAt").value} ${text("computeAtUnit")}`;
  return `From ${text("fromUnit")} measured at ${$("measured").value} ${text("measuredUnit")}, ` +
    `To ${text("toUnit")} at ${at}.`;
}

function setUpTabs() {
  const tabs = [...document.querySelectorAll("[role=tab]")];
  tabs.forEach((tab, i) => {
    tab.addEventListener("click", () => showCategory(CATEGORIES[i]));
    tab.addEventListener("keydown", (e) => {
      const step = { ArrowRight: 1, ArrowLeft: -1, Home: -i, End: tabs.length - 1 - i }[e.key];
      if (step === undefined) return;
      e.preventDefault();
      showCategory(CATEGORIES[(i + step + tabs.length) % tabs.length], true);
    });
  });
}

function say(text) {
  $("selectionsMessage").textContent = text;
}

async function loadIniFile(file) {
  if (!file) return;
  if (file.size > MAX_INI_BYTES) {
    say(`${file.name} is ${Math.round(file.size / 1024)} KB: too large for a tavimor.ini. Nothing was loaded.`);
    return;
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (bytes.includes(0)) {
    say(`${file.name} is not a text file. Nothing was loaded.`);
    return;
  }
  const text = new TextDecoder().decode(bytes);
  if (!/^\s*\[tavimor\]\s*$/im.test(text)) {
    say(`${file.name} has no section [Tavimor]: it holds no saved selections. Nothing was loaded.`);
    return;
  }
  loadedIni = text;
  const refused = panel.load(text).map((m) => ` ${m[0].toUpperCase()}${m.slice(1)}.`);
  say(`Loaded the selections of ${file.name}.${refused.join("")}`);
}

function saveIni() {
  const text = engine.save(loadedIni, category);
  if (text === null) {
    say("The selections could not be composed.");
    return;
  }
  loadedIni = text;
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
  link.download = "tavimor.ini";
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  say("Saved as tavimor.ini: put it where the desktop program keeps its settings " +
      "(~/.config/tavimor/tavimor.ini) to open it there in the same state.");
}

async function copyLink() {
  remember();
  try {
    await navigator.clipboard.writeText(location.href);
    say("The link is on the clipboard; it opens this conversion.");
  } catch {
    say(`The link to this conversion: ${location.href}`);
  }
}

async function start() {
  try {
    const tavimor = await load();
    engine = new PageEngine(tavimor.module);
  } catch (error) {
    $("status").textContent = `This browser cannot run Tavimor's engine (${error.message}).`;
    return;
  }
  const texts = engine.texts();
  const dialogs = new ParameterDialogs(engine, texts);
  let pending = 0;
  panel = new MoisturePanel(engine, dialogs, texts, () => {
    clearTimeout(pending);
    pending = setTimeout(remember, 250);
  });
  const ini = addressIni() ?? storedIni();
  panel.load(ini);
  const saved = /^ConvCategory=(100[1-4])/m.exec(ini);
  setUpConverters(engine, texts);
  new TableConversion(engine, () => engine.request());
  setUpTabs();
  showCategory(saved ? saved[1] : "1001");
  $("saveIni").addEventListener("click", saveIni);
  $("loadIni").addEventListener("change", () => loadIniFile($("loadIni").files[0]));
  $("copyLink").addEventListener("click", copyLink);
  $("status").textContent = "";
  document.body.dataset.readyMs = String(Math.round(performance.now()));
  document.body.dataset.ready = "true";
}

// The page is served from the cache first; a new version of the site is fetched meanwhile
// and used from the next opening on.
if ("serviceWorker" in navigator) {
  const updating = Boolean(navigator.serviceWorker.controller);
  navigator.serviceWorker.register("sw.js").then((registration) => {
    registration.addEventListener("updatefound", () => {
      const worker = registration.installing;
      worker?.addEventListener("statechange", () => {
        if (worker.state === "activated" && updating) {
          $("status").textContent = "A new version of Tavimor is ready: reload the page to use it.";
        }
      });
    });
  }).catch(() => {
    // Without it the page still works, only not offline.
  });
}
start();
