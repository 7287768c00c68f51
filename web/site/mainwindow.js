// The main window: the frame in its canvas, the six buttons under it, the title, and the
// mouse or a finger on the client area. It turns them into the engine's commands and shows what
// the engine says after each (captions, enabled states, the frame's pixels).

import { constants, engine, isDead } from "./engine.js";
import { paintHistory, toggleHistory } from "./history.js";
import { messageBox } from "./messages.js";
import { createPacer } from "./pace.js";
import { tr, ui } from "./texts.js";

const $ = (id) => document.getElementById(id);
const client = $("client");
const frame = $("frame");
const frameContext = frame.getContext("2d", { alpha: false });
const buttons = {
  history: $("history-button"), pause: $("pause-button"), centre: $("centre-button"),
  ends: $("ends-button"), start: $("start-button"), close: $("close-button"),
};
const buttonOrder = ["history", "pause", "centre", "ends", "start", "close"];
let state = null;
let pacer = null;

export const clientRect = () => client.getBoundingClientRect();

function showTitle() {
  // The engine says when: a command's title at once, the ticks' at their own pace.
  const title = engine.titleToShow(performance.now());
  if (title === null) return;
  $("title").textContent = title;
  document.title = title;
}

// Reads the run state again and shows it: the buttons, the title and the pace.
export function refresh() {
  state = engine.state();
  buttons.start.textContent = tr(state.startCaption);
  buttons.start.disabled = !state.startEnabled;
  buttons.pause.textContent = tr(state.pauseCaption);
  buttons.pause.disabled = !state.pauseEnabled;
  buttons.ends.textContent = tr(state.endsCaption);
  buttons.centre.textContent = tr(state.centreCaption);
  showTitle();
  pacer.sync(state);
}

// Makes the frame and the buttons for the page's size.
export function layOut() {
  const top = Math.ceil(client.getBoundingClientRect().top);
  const cx = Math.floor(document.documentElement.clientWidth);
  const cy = Math.floor(window.innerHeight - top);
  // A size the window does not take keeps the last layout.
  if (!engine.resize(cx, cy)) return;
  client.style.width = `${cx}px`;
  client.style.height = `${cy}px`;
  frame.width = engine.frameWidth();
  frame.height = engine.frameHeight();
  frame.style.width = `${frame.width}px`;
  frame.style.height = `${frame.height}px`;
  const row = engine.buttonRow();
  buttonOrder.forEach((name, i) => {
    const style = buttons[name].style;
    style.left = `${row.edges[i]}px`;
    style.top = `${row.top}px`;
    style.width = `${row.edges[i + 1] - row.edges[i]}px`;
    style.height = `${row.bottom - row.top}px`;
  });
  refresh();
  paint(true);
}

// Copies the frame to the canvas when it changed (or when forced); returns its pixels.
export function paint(force = false) {
  let pixels = null;
  if (force || engine.frameChanged()) {
    const bytes = engine.frameRgba();
    const width = engine.frameWidth();
    const height = engine.frameHeight();
    if (bytes.length > 0) {
      pixels = { rgba: new Uint8ClampedArray(bytes), width, height };
      frameContext.putImageData(new ImageData(pixels.rgba, width, height), 0, 0);
    }
  }
  paintHistory();
  return pixels;
}

// What every command is followed by.
export function afterCommand() {
  refresh();
  paint();
  reportDivergence();
}

// A run that reached cells that are not finite or below absolute zero has paused: said once.
function reportDivergence() {
  const text = engine.takeDivergence();
  if (!text) return;
  refresh();
  paint();
  messageBox(tr(text), ui.applicationName, false);
}

// The buttons' fixed texts and tips, and the frame's name, in the page's language.
export function translateWindow() {
  buttons.history.textContent = tr(ui.history);
  buttons.close.textContent = tr(ui.close);
  const tips = { history: ui.historyTip, pause: ui.pauseTip, centre: ui.centreTip,
    ends: ui.endsTip, start: ui.startTip, close: ui.closeTip };
  for (const name of buttonOrder) buttons[name].title = tr(tips[name]);
  frame.setAttribute("aria-label", ui.title);
  frame.setAttribute("role", "img");
}

// The pixel a position lies in, in the client area.
function pixelOf(event) {
  const rect = client.getBoundingClientRect();
  return [Math.floor(event.clientX - rect.left), Math.floor(event.clientY - rect.top)];
}
const onClientArea = (event) => event.target === frame || event.target === client;

// The panel's lines for screen readers, when the panel turns to another cell.
let spokenCell = "";
function speakPanel() {
  const text = engine.panelText();
  const cell = text.split("\n")[0];
  if (cell === spokenCell) return;
  spokenCell = cell;
  $("panel-text").textContent = text;
}

// Starts the window on the engine: its buttons and pointer, and the pace. Start opens the
// settings dialog through `openSettings` when the engine asks for it.
export function initMainWindow({ openSettings }) {
  state = engine.state();
  pacer = createPacer({
    engine, fastest: constants.fastestSpeed, isDead, initialState: state,
    afterTicks: reportDivergence,
    onFrame: () => {
      paint();
      reportDivergence();
      showTitle();
    },
  });

  buttons.start.addEventListener("click", () => {
    if (engine.startStop()) openSettings();
    afterCommand();
  });
  buttons.pause.addEventListener("click", () => { engine.pauseResume(); afterCommand(); });
  buttons.ends.addEventListener("click", () => { engine.endsFlame(); afterCommand(); });
  buttons.centre.addEventListener("click", () => { engine.centreFlame(); afterCommand(); });
  buttons.history.addEventListener("click", toggleHistory);
  buttons.close.addEventListener("click", () => {
    // Ends the program: an installed app's window closes; a tab leaves the page.
    engine.holdTimer();
    window.close();
    location.replace("about:blank");
  });

  client.addEventListener("pointermove", (event) => {
    if (!onClientArea(event) || event.pointerType === "touch") return;
    engine.mouseMove(...pixelOf(event));
    paint();
    speakPanel();
  });
  client.addEventListener("pointerup", (event) => {
    if (!onClientArea(event) || event.button !== 0) return;
    const [x, y] = pixelOf(event);
    // A tap has no hover before it: it moves the inspection there, then selects.
    if (event.pointerType === "touch") engine.mouseMove(x, y);
    engine.lButtonUp(x, y);
    paint();
    spokenCell = "";
    speakPanel();
  });
}
