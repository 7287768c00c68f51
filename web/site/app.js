// The page around the engine: it loads the engine, starts the page's parts on it and ties them
// together. Every rule of the program stays in the engine; the texts come from its table of
// both languages.

import { bindings, constants, engine, loadEngine } from "./engine.js";
import { initHistory, paintHistory, translateHistory } from "./history.js";
import { initMainWindow, layOut, refresh, translateWindow } from "./mainwindow.js";
import { initMenu, itemKey, menuKey, menuShortcut, translateMenu } from "./menu.js";
import { showNotice } from "./messages.js";
import { modalKey } from "./modal.js";
import { initSettings, openSettings, translateSettings } from "./settings.js";
import { chooseLanguage, initTexts, language, tr, ui } from "./texts.js";

// The address's seed, settings, burners and speed, given to the engine; what it cannot use
// is named above the client area, the first SHOWN_ERRORS of it and how many more.
const SHOWN_ERRORS = 10;
let addressErrors = [];
// Set once the language chosen could not be kept for later visits: said above the client area.
let languageNotKept = false;
function applyAddress() {
  addressErrors = engine.applyAddress([...new URLSearchParams(location.search)]);
}
function showNotices() {
  const lines = languageNotKept ? [tr(ui.languageNotKept)] : [];
  if (addressErrors.length > 0) lines.push(tr(ui.badAddress), ...addressErrors.slice(0, SHOWN_ERRORS));
  if (addressErrors.length > SHOWN_ERRORS) {
    lines.push(tr(ui.moreBadValues).replace("%1", addressErrors.length - SHOWN_ERRORS));
  }
  if (lines.length > 0) showNotice(lines.join("\n"));
}

function translatePage() {
  document.documentElement.lang = language();
  translateWindow();
  translateMenu();
  translateHistory();
  engine.setEnglish(language() === "en");
  translateSettings();
  showNotices();
  refresh();
  paintHistory();
}

function setLanguage(code) {
  if (!chooseLanguage(code)) languageNotKept = true;
  engine.setMenuLanguage(code);
  translatePage();
  // The notice above the client area may take another height in the other language.
  layOut();
}

// A key goes to the open box, else to the open menu, else to the main window.
function onKey(event) {
  if (modalKey(event) || menuKey(event)) return;
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  if (menuShortcut(event) || itemKey(event)) event.preventDefault();
}

if (await loadEngine()) {
  initTexts(bindings);
  engine.setMenuLanguage(language());
  initMenu({ setLanguage });
  initMainWindow({ openSettings });
  document.addEventListener("keydown", onKey);
  initSettings();
  initHistory();
  applyAddress();

  translatePage();
  layOut();
  window.addEventListener("resize", layOut);
  // The test build gives the browser test a handle on the engine.
  if (constants.testBuild) {
    window.quorvel = { engine, state: () => engine.state(), failNextBrush: bindings.failNextBrush, ready: true };
  }
  document.body.dataset.ready = "true";

  if ("serviceWorker" in navigator && location.protocol !== "file:") {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
}
