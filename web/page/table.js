// A CSV or TSV file converted in the page: read and converted in a Worker in chunks, with the
// Moisture/Humidity panel's settings, through the command's own table conversion; a progress
// bar, Cancel, a preview, and the converted file to download. The file never leaves the page.

const $ = (id) => document.getElementById(id);
const PEEK_BYTES = 1 << 16;
const PREVIEW_ROWS = 6;

function formatBytes(n) {
  if (n < 1024) return `${n} bytes`;
  if (n < 1 << 20) return `${(n / 1024).toFixed(1)} KB`;
  if (n < 1 << 30) return `${(n / (1 << 20)).toFixed(1)} MB`;
  return `${(n / (1 << 30)).toFixed(2)} GB`;
}

function fillTable(table, rows) {
  const caption = table.querySelector("caption");
  table.replaceChildren(caption);
  const body = document.createElement("tbody");
  for (const row of rows) {
    const tr = document.createElement("tr");
    for (const cell of row) {
      const td = document.createElement("td");
      td.textContent = cell;
      tr.append(td);
    }
    body.append(tr);
  }
  table.append(body);
}

export class TableConversion {
  constructor(engine, panelRequest) {
    this.engine = engine;
    this.panelRequest = panelRequest;
    this.file = null;
    $("tableFile").addEventListener("change", () => this.#choose($("tableFile").files[0]));
    const zone = $("dropZone");
    zone.addEventListener("dragover", (e) => {
      e.preventDefault();
      zone.classList.add("over");
    });
    zone.addEventListener("dragleave", () => zone.classList.remove("over"));
    zone.addEventListener("drop", (e) => {
      e.preventDefault();
      zone.classList.remove("over");
      if (e.dataTransfer.files.length) this.#choose(e.dataTransfer.files[0]);
    });
    for (const id of ["tableDelimiter", "tableHeader"]) {
      $(id).addEventListener("change", () => this.#peek());
    }
    $("tableConvert").addEventListener("click", () => this.#convert());
    $("tableCancel").addEventListener("click", () => this.#cancel("Cancelled: nothing was written."));
  }

  #say(text) {
    $("tableMessage").textContent = text;
  }

  async #choose(file) {
    this.#cancel("");
    this.file = null;
    $("tableOptions").disabled = true;
    $("tableConvert").disabled = true;
    $("tablePreviewWrap").hidden = true;
    $("tableResultWrap").hidden = true;
    $("tableDownload").hidden = true;
    $("tableErrors").hidden = true;
    if (!file) return;
    if (file.size === 0) {
      this.#say(`${file.name} is empty: there is nothing to convert.`);
      return;
    }
    let head;
    try {
      head = new Uint8Array(await file.slice(0, PEEK_BYTES).arrayBuffer());
    } catch (error) {
      this.#say(`${file.name} cannot be read: ${error.message}`);
      return;
    }
    const zero = head.indexOf(0);
    if (zero >= 0) {
      this.#say(`${file.name} is not a text table: it holds binary data (a zero byte at ` +
                `byte ${zero + 1}). Choose a CSV or TSV file.`);
      return;
    }
    this.file = file;
    this.head = head;
    // A line ends at LF, CR LF or a lone CR, as the command reads it.
    const firstLine = new TextDecoder().decode(
      head.subarray(0, head.findIndex((b) => b === 10 || b === 13) >>> 0));
    $("tableDelimiter").value = /\.tsv$/i.test(file.name) || (firstLine.includes("\t") && !firstLine.includes(","))
      ? "\t" : firstLine.includes(";") && !firstLine.includes(",") ? ";" : ",";
    this.#peek();
  }

  #peek() {
    if (!this.file) return;
    const delimiter = $("tableDelimiter").value;
    const rows = this.engine.tablePeek(this.head, this.file.size <= PEEK_BYTES, delimiter, PREVIEW_ROWS);
    if (rows.length === 0) {
      this.#say(`No row of ${this.file.name} ends within its first ${formatBytes(PEEK_BYTES)}: ` +
                "is a quoted cell not closed? It can still be converted; such a row gives \"error\".");
    } else {
      this.#say(`${this.file.name}, ${formatBytes(this.file.size)}: choose the column to convert.`);
    }
    const width = Math.max(1, ...rows.map((r) => r.length));
    const header = rows[0] ?? [];
    const choices = (withNone) => {
      const options = withNone ? [new Option("none", "")] : [];
      for (let c = 0; c < width; ++c) {
        const name = header[c] ?? "";
        options.push(new Option(`column ${c + 1}${name ? ": " + name.slice(0, 40) : ""}`, String(c + 1)));
      }
      return options;
    };
    const column = $("tableColumn");
    const previous = column.value;
    column.replaceChildren(...choices(false));
    // The first column whose second row holds a number is the likely one.
    const second = rows[1] ?? rows[0] ?? [];
    const guess = second.findIndex((cell) => /^\s*[-+]?(\d|\.\d)/.test(cell));
    column.value = previous && Number(previous) <= width ? previous : String(Math.max(guess, 0) + 1);
    for (const id of ["tableMeasuredColumn", "tableComputeAtColumn"]) {
      const list = $(id);
      const chosen = list.value;
      list.replaceChildren(...choices(true));
      if (chosen && Number(chosen) <= width) list.value = chosen;
    }
    fillTable($("tablePreview"), rows);
    $("tablePreviewWrap").hidden = rows.length === 0;
    $("tableOptions").disabled = false;
    $("tableConvert").disabled = false;
  }

  #convert() {
    if (!this.file || this.worker) return;
    const request = this.panelRequest();
    const { fromUnit, toUnit, increment, ...options } = request;
    options.delimiter = $("tableDelimiter").value;
    options.header = $("tableHeader").value;
    options.column = Number($("tableColumn").value);
    const measured = $("tableMeasuredColumn").value;
    const computeAt = $("tableComputeAtColumn").value;
    if (measured) options.measuredColumn = Number(measured);
    if (computeAt) options.computeAtColumn = Number(computeAt);
    if ($("tableIncrement").value === "yes") options.increment = increment;
    const file = this.file;
    const worker = new Worker(new URL("./table-worker.js", import.meta.url), { type: "module" });
    this.worker = worker;
    const progress = $("tableProgress");
    progress.hidden = false;
    progress.value = 0;
    $("tableCancel").disabled = false;
    $("tableConvert").disabled = true;
    $("tableDownload").hidden = true;
    $("tableResultWrap").hidden = true;
    $("tableErrors").hidden = true;
    this.#say(`Converting ${file.name} (${formatBytes(file.size)})…`);
    const started = performance.now();
    worker.onmessage = (e) => {
      const m = e.data;
      if (m.type === "progress") {
        progress.value = file.size ? m.bytes / file.size : 1;
        this.#say(`Converting ${file.name}: ${m.rows.toLocaleString("en")} lines, ` +
                  `${Math.round(100 * progress.value)} %`);
      } else if (m.type === "preview") {
        const rows = this.engine.tablePeek(m.bytes, m.whole, options.delimiter, PREVIEW_ROWS);
        fillTable($("tableResult"), rows);
        $("tableResultWrap").hidden = rows.length === 0;
      } else if (m.type === "done") {
        this.#finished(file, m, performance.now() - started);
      } else if (m.type === "failed") {
        this.#cancel(`The conversion failed: ${m.message}`);
      }
    };
    worker.onerror = (e) => this.#cancel(`The conversion failed: ${e.message ?? "the worker stopped"}`);
    worker.postMessage({ file, fromUnit, toUnit, options });
  }

  #finished(file, m, ms) {
    this.#stopWorker();
    $("tableProgress").value = 1;
    const errors = $("tableErrors");
    errors.textContent = m.messages + (m.messageLines > m.shownLines
      ? `… and ${m.messageLines - m.shownLines} more lines\n` : "");
    errors.hidden = !m.messages;
    if (m.code === 2) {
      this.#say(`Not converted: ${m.messages.trim()}`);
      errors.hidden = true;
      return;
    }
    const name = file.name.replace(/(\.[^.]*)?$/, (ext) => `-converted${ext || ".csv"}`);
    const link = $("tableDownload");
    if (this.url) URL.revokeObjectURL(this.url);
    this.url = URL.createObjectURL(m.blob);
    link.href = this.url;
    link.download = name;
    link.textContent = `Download ${name} (${formatBytes(m.blob.size)})`;
    link.hidden = false;
    const failed = m.code === 1 ? `; ${m.messageLines} rows gave "error" (listed below)` : "";
    this.#say(`Converted ${m.rows.toLocaleString("en")} lines in ${(ms / 1000).toFixed(1)} s${failed}.`);
  }

  #stopWorker() {
    this.worker?.terminate();
    this.worker = null;
    $("tableCancel").disabled = true;
    $("tableConvert").disabled = !this.file;
  }

  #cancel(message) {
    const running = Boolean(this.worker);
    this.#stopWorker();
    if (running || message) {
      $("tableProgress").hidden = true;
      this.#say(message);
    }
  }
}
