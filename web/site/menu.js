// The context menu: opened by a right click, the ☰ button or the menu key, with its speeds
// submenu, driven by the mouse, the arrow keys and the items' mnemonic letters.

import { openAbout } from "./about.js";
import { engine } from "./engine.js";
import { clientRect, runState, setSpeed, singleStep } from "./mainwindow.js";
import { onModalOpen } from "./modal.js";
import { saveHistory, savePicture } from "./save.js";
import { language, setMnemonicText, tr, ui } from "./texts.js";

const menu = document.getElementById("menu");
const menuButton = document.getElementById("menu-button");
let submenu = null;
let onLanguage = null;
// The user's guide, where the site carries a copy of it (scripts/build-web.sh puts it in).
let hasGuide = false;

function menuItem(parent, text, action, { enabled = true, checked = null, key = "" } = {}) {
  const item = document.createElement("button");
  item.type = "button";
  item.setAttribute("role", checked === null ? "menuitem" : "menuitemradio");
  if (checked !== null) item.setAttribute("aria-checked", String(checked));
  const label = document.createElement("span");
  const mnemonic = setMnemonicText(label, text);
  item.append(label);
  if (key) {
    const hint = document.createElement("span");
    hint.className = "key";
    hint.textContent = key;
    item.append(hint);
  }
  item.disabled = !enabled;
  if (mnemonic) item.dataset.mnemonic = mnemonic;
  item.addEventListener("click", (event) => {
    event.stopPropagation();
    action(item);
  });
  parent.append(item);
  return item;
}

function placeMenu(element, x, y, alignRight = false) {
  element.hidden = false;
  const width = element.offsetWidth;
  const height = element.offsetHeight;
  const left = alignRight ? x - width : x;
  element.style.left = `${Math.max(0, Math.min(left, window.innerWidth - width))}px`;
  element.style.top = `${Math.max(0, Math.min(y, window.innerHeight - height))}px`;
}

function closeSubmenu() {
  if (submenu) {
    submenu.remove();
    submenu = null;
  }
}

export function openMenu(x, y, alignRight = false) {
  const state = runState();
  closeMenu();
  menu.textContent = "";
  menu.setAttribute("aria-label", tr(ui.menuButton));
  // As the desktop's context menu, without the item that keeps window positions.
  menuItem(menu, tr(ui.about), () => { closeMenu(); openAbout(); });
  const speeds = menuItem(menu, `${tr(ui.speedMenu)}  ▸`, (item) => openSpeeds(item));
  speeds.setAttribute("aria-haspopup", "menu");
  speeds.addEventListener("pointerenter", () => openSpeeds(speeds));
  menuItem(menu, tr(ui.singleStep), () => { closeMenu(); singleStep(); },
    { enabled: state.paused, key: "S" });
  menuItem(menu, tr(ui.savePicture), () => { closeMenu(); savePicture(); },
    { enabled: engine.frameWidth() > 0 });
  menuItem(menu, tr(ui.saveHistory), () => { closeMenu(); saveHistory(); },
    { enabled: state.started });
  menu.append(document.createElement("hr"));
  for (const [name, code] of [[ui.english, "en"], [ui.japanese, "ja"]]) {
    menuItem(menu, name, () => { closeMenu(); onLanguage(code); }, { checked: language() === code });
  }
  if (hasGuide) {
    menu.append(document.createElement("hr"));
    menuItem(menu, tr(ui.guide), () => { closeMenu(); window.open(`guide/${language()}.html`, "_blank", "noopener"); });
  }
  // Another item under the pointer closes the speeds.
  for (const item of menu.querySelectorAll("button")) {
    if (item !== speeds) item.addEventListener("pointerenter", closeSubmenu);
  }
  placeMenu(menu, x, y, alignRight);
  const first = menu.querySelector("button:not(:disabled)");
  if (first) first.focus();
}

function openSpeeds(anchor) {
  const state = runState();
  if (submenu) submenu.remove();
  submenu = document.createElement("div");
  submenu.className = "menu";
  submenu.setAttribute("role", "menu");
  submenu.setAttribute("aria-label", tr(ui.speedMenu));
  ui.speeds.forEach((label, speed) => {
    menuItem(submenu, tr(label), () => { closeMenu(); setSpeed(speed); },
      { checked: state.speed === speed });
  });
  document.body.append(submenu);
  const rect = anchor.getBoundingClientRect();
  const fitsRight = rect.right + submenu.offsetWidth <= window.innerWidth;
  placeMenu(submenu, fitsRight ? rect.right : rect.left, rect.top, !fitsRight);
}

export function closeMenu() {
  menu.hidden = true;
  closeSubmenu();
}

// A key while the menu is open goes to it (true); false when it is closed.
export function menuKey(event) {
  if (menu.hidden) return false;
  const open = submenu || menu;
  const items = [...open.querySelectorAll("button:not(:disabled)")];
  const at = items.indexOf(document.activeElement);
  if (event.key === "Escape") {
    if (submenu) {
      closeSubmenu();
      menu.querySelector("[aria-haspopup]").focus();
    } else {
      closeMenu();
    }
  } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
    const step = event.key === "ArrowDown" ? 1 : items.length - 1;
    items[(at + step) % items.length].focus();
  } else if (event.key === "ArrowRight" && document.activeElement?.hasAttribute("aria-haspopup")) {
    openSpeeds(document.activeElement);
    submenu.querySelector("button").focus();
  } else if (event.key.length === 1) {
    const item = items.find((b) => b.dataset.mnemonic === event.key.toLowerCase());
    if (item) item.click();
    else return true;
  } else {
    return true;
  }
  event.preventDefault();
  return true;
}

// The menu key or Shift+F10 opens the menu at the client area's corner (true); false for any
// other key.
export function menuShortcut(event) {
  if (event.key !== "ContextMenu" && !(event.shiftKey && event.key === "F10")) return false;
  const rect = clientRect();
  openMenu(rect.left + 8, rect.top + 8);
  return true;
}

// The ☰ button's name in the page's language.
export function translateMenu() {
  menuButton.setAttribute("aria-label", tr(ui.menuButton));
  menuButton.title = tr(ui.menuButton);
}

// Opens the menu from the client area and the ☰ button; its language items call `setLanguage`.
export function initMenu({ setLanguage }) {
  onLanguage = setLanguage;
  fetch("guide/ja.html").then((r) => { hasGuide = r.ok; }, () => {});
  document.getElementById("client").addEventListener("contextmenu", (event) => {
    event.preventDefault();
    openMenu(event.clientX, event.clientY);
  });
  menuButton.addEventListener("click", () => {
    const rect = menuButton.getBoundingClientRect();
    openMenu(rect.right, rect.bottom, true);
  });
  document.addEventListener("pointerdown", (event) => {
    if (menu.hidden) return;
    if (!menu.contains(event.target) && !(submenu && submenu.contains(event.target))) closeMenu();
  });
  window.addEventListener("blur", closeMenu);
  onModalOpen(closeMenu);
}
