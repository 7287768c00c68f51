// The history panel: the engine's graph of the last samples above a status bar with the
// averages, shown and hidden by 履歴, moved by its caption and resized from its corner.

import { engine } from "./engine.js";
import { tr, ui } from "./texts.js";

const $ = (id) => document.getElementById(id);
const history = $("history");
const graph = $("graph");
const graphContext = graph.getContext("2d", { alpha: false });
const caption = history.querySelector(".caption");

export function showHistory(show) {
  history.hidden = !show;
  if (show) {
    sizeHistory();
    paintHistory(true);
  }
}

export const toggleHistory = () => showHistory(history.hidden);

// The panel's client area (below its caption) holds the graph above the status bar; the
// engine makes the graph again for each new size it takes, as the desktop's history window.
function sizeHistory() {
  const cx = history.clientWidth;
  const cy = history.clientHeight - caption.offsetHeight;
  if (!engine.resizeGraph(cx, cy)) return;
  graph.width = engine.graphWidth();
  graph.height = engine.graphHeight();
  graph.style.width = `${graph.width}px`;
  graph.style.height = `${graph.height}px`;
  paintHistory(true);
}

// Copies the graph to its canvas when it changed (or when forced), and shows the status bar's
// texts as the engine gives them.
export function paintHistory(force = false) {
  if (history.hidden) return;
  if (force || engine.graphChanged()) {
    const bytes = engine.graphRgba();
    if (bytes.length > 0) {
      graphContext.putImageData(
        new ImageData(new Uint8ClampedArray(bytes), engine.graphWidth(), engine.graphHeight()), 0, 0);
    }
  }
  const [temperature, heat] = engine.historyStatus();
  if ($("status-temperature").textContent !== temperature) $("status-temperature").textContent = temperature;
  if ($("status-heat").textContent !== heat) $("status-heat").textContent = heat;
}

// The panel's caption and names in the page's language.
export function translateHistory() {
  $("history-caption").textContent = tr(ui.historyCaption);
  history.setAttribute("aria-label", tr(ui.historyCaption));
  $("history-close").setAttribute("aria-label", tr(ui.close));
}

// The panel moves by its caption, within the page.
function dragByCaption(event) {
  if (event.target.tagName === "BUTTON") return;
  const rect = history.getBoundingClientRect();
  const dx = event.clientX - rect.left;
  const dy = event.clientY - rect.top;
  const move = (e) => {
    history.style.left = `${Math.max(0, Math.min(e.clientX - dx, window.innerWidth - rect.width))}px`;
    history.style.top = `${Math.max(0, Math.min(e.clientY - dy, window.innerHeight - rect.height))}px`;
    history.style.right = "auto";
    history.style.bottom = "auto";
  };
  const up = () => {
    window.removeEventListener("pointermove", move);
    window.removeEventListener("pointerup", up);
  };
  window.addEventListener("pointermove", move);
  window.addEventListener("pointerup", up);
}

export function initHistory() {
  $("history-close").addEventListener("click", () => showHistory(false));
  new ResizeObserver(() => { if (!history.hidden) sizeHistory(); }).observe(history);
  caption.addEventListener("pointerdown", dragByCaption);
}
