// The context menu: the engine's menu model drawn when a right click, the ☰ button or the menu
// key opens it, with its submenus, driven by the mouse, the arrow keys and the items' mnemonic
// letters. A choice, from the menu or by its shortcut key, goes back to the engine, which runs
// its part and says what is left to the page.

import { openAbout } from "./about.js";
import { bindings, engine } from "./engine.js";
import { afterCommand, clientRect } from "./mainwindow.js";
import { onModalOpen } from "./modal.js";
import { saveHistory, savePicture } from "./save.js";
import { language, setMnemonicText, tr, ui } from "./texts.js";

const menu = document.getElementById("menu");
const menuButton = document.getElementById("menu-button");
let submenu = null;
let onLanguage = null;

function menuItem(parent, text, action, { enabled = true, checked = null, radio = true, key = "" } = {}) {
  const item = document.createElement("button");
  item.type = "button";
  item.setAttribute("role", checked === null ? "menuitem" : radio ? "menuitemradio" : "menuitemcheckbox");
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

// The engine's items as the page draws them.
function addItems(parent, items) {
  for (const item of items) {
    if (item.kind === "separator") {
      parent.append(document.createElement("hr"));
    } else if (item.kind === "submenu") {
      const entry = menuItem(parent, `${tr(item.text)}  ▸`, (e) => openSubmenu(e), { enabled: item.enabled });
      entry.setAttribute("aria-haspopup", "menu");
      entry.submenu = item;
      entry.addEventListener("pointerenter", () => openSubmenu(entry));
    } else {
      menuItem(parent, tr(item.text), () => { closeMenu(); chooseItem(item.id); }, {
        enabled: item.enabled, checked: item.kind === "command" ? null : item.checked,
        radio: item.kind === "radio", key: item.key,
      });
    }
  }
}

// Does what the engine leaves to the page of the item `id`'s choice.
function chooseItem(id) {
  const outcome = engine.chooseMenuItem(id);
  if (outcome.action === "") afterCommand();
  else if (outcome.action === "about") openAbout();
  else if (outcome.action === "savePicture") savePicture(outcome.name);
  else if (outcome.action === "saveHistory") saveHistory(outcome.name);
  else if (outcome.action === "language") onLanguage(outcome.language);
  else if (outcome.action === "guide") window.open(`guide/${language()}.html`, "_blank", "noopener");
}

export function openMenu(x, y, alignRight = false) {
  closeMenu();
  menu.textContent = "";
  menu.setAttribute("aria-label", tr(ui.menuButton));
  addItems(menu, engine.menu());
  // Another item under the pointer closes an open submenu.
  for (const item of menu.querySelectorAll("button:not([aria-haspopup])")) {
    item.addEventListener("pointerenter", closeSubmenu);
  }
  placeMenu(menu, x, y, alignRight);
  const first = menu.querySelector("button:not(:disabled)");
  if (first) first.focus();
}

function openSubmenu(anchor) {
  if (submenu) submenu.remove();
  submenu = document.createElement("div");
  submenu.className = "menu";
  submenu.setAttribute("role", "menu");
  submenu.setAttribute("aria-label", tr(anchor.submenu.text));
  addItems(submenu, anchor.submenu.items);
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
    openSubmenu(document.activeElement);
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

// A key that chooses a menu item, as the engine tells (true); false for any other key.
export function itemKey(event) {
  const id = bindings.menuKey(event.key, (event.code || "").startsWith("Numpad"));
  if (id === 0) return false;
  chooseItem(id);
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
  // The user's guide, where the site carries a copy of it (scripts/build-web.sh puts it in).
  fetch("guide/ja.html").then((r) => engine.setGuideShown(r.ok), () => {});
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
