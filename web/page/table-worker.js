// Converts a table file away from the page: reads the File in pieces (FileReaderSync), hands
// them to the engine's table conversion and keeps the output in a Blob, folded every few
// megabytes so that the browser can keep a large result out of the tab's memory.

import { load } from "./tavimor.js";

const engine = load();
const FOLD_BYTES = 8 << 20;
const PREVIEW_BYTES = 1 << 16;
const SHOWN_MESSAGE_LINES = 200;

self.onmessage = async (e) => {
  const { file, fromUnit, toUnit, options } = e.data;
  const tavimor = await engine;
  const reader = new FileReaderSync();
  let position = 0;
  let blob = new Blob([]);
  let parts = [];
  let pending = 0;
  let preview = [];
  let previewBytes = 0;
  let rows = 0;
  let messages = "";
  let messageLines = 0;
  let shownLines = 0;
  let carry = "";
  const sendPreview = (whole) => {
    if (preview === null) return;
    const bytes = new Uint8Array(previewBytes);
    let at = 0;
    for (const part of preview) {
      bytes.set(part, at);
      at += part.length;
    }
    self.postMessage({ type: "preview", bytes, whole });
    preview = null;
  };
  const io = {
    read(max) {
      if (position >= file.size) return null;
      const bytes = new Uint8Array(reader.readAsArrayBuffer(file.slice(position, position + max)));
      position += bytes.length;
      return bytes;
    },
    write(bytes) {
      parts.push(bytes);
      pending += bytes.length;
      if (preview !== null) {
        preview.push(bytes.subarray(0, PREVIEW_BYTES - previewBytes));
        previewBytes += Math.min(bytes.length, PREVIEW_BYTES - previewBytes);
        if (previewBytes >= PREVIEW_BYTES) sendPreview(false);
      }
      if (pending >= FOLD_BYTES) {
        blob = new Blob([blob, ...parts]);
        parts = [];
        pending = 0;
      }
    },
    message(text) {
      const lines = (carry + text).split("\n");
      carry = lines.pop();
      for (const line of lines) {
        ++messageLines;
        if (shownLines < SHOWN_MESSAGE_LINES) {
          messages += line + "\n";
          ++shownLines;
        }
      }
    },
    progress(converted) {
      rows = converted;
      self.postMessage({ type: "progress", rows, bytes: position });
    },
  };
  let code;
  try {
    code = tavimor.convertTable(io, fromUnit, toUnit, options);
  } catch (error) {
    self.postMessage({ type: "failed", message: error.message });
    return;
  }
  sendPreview(true);
  const type = options.delimiter === "\t" ? "text/tab-separated-values" : "text/csv";
  blob = new Blob([blob, ...parts], { type });
  self.postMessage({ type: "done", code, blob, rows, messages, messageLines, shownLines });
};
