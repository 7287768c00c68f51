// Modal boxes over the page: a stack of open boxes, the keys going to the topmost one and Tab
// kept within it, and each box's window frame with its caption.

const layer = document.getElementById("modal-layer");
const modals = [];
const openListeners = [];

// `listener` runs whenever a box opens (the context menu closes then).
export function onModalOpen(listener) {
  openListeners.push(listener);
}

// Shows `element` over the page; `onKey` takes the keys while it is the topmost box.
export function openModal(element, onKey) {
  const entry = { element, onKey, returnFocus: document.activeElement };
  modals.push(entry);
  layer.append(element);
  layer.hidden = false;
  for (const listener of openListeners) listener();
  return entry;
}

export function closeModal(entry) {
  const at = modals.indexOf(entry);
  if (at >= 0) modals.splice(at, 1);
  entry.element.remove();
  layer.hidden = modals.length === 0;
  if (entry.returnFocus && entry.returnFocus.focus) entry.returnFocus.focus();
}

// A key while a box is open goes to the topmost one (true); false when none is open.
export function modalKey(event) {
  if (modals.length === 0) return false;
  const top = modals[modals.length - 1];
  if (event.key === "Tab") keepFocusIn(top.element, event);
  else top.onKey(event);
  return true;
}

// Tab and Shift+Tab go round the controls of the open box, never to the page behind it.
function keepFocusIn(box, event) {
  const stops = [...box.querySelectorAll("input, button")].filter((e) => !e.disabled);
  if (stops.length === 0) {
    event.preventDefault();
    return;
  }
  const at = stops.indexOf(document.activeElement);
  const next = event.shiftKey ? (at <= 0 ? stops.length - 1 : at - 1) : (at + 1) % stops.length;
  event.preventDefault();
  stops[next].focus();
  if (stops[next].type === "text") stops[next].select();
}

// A box's frame: a dialog with `caption` in its caption bar (none for null).
export function windowFrame(caption, className) {
  const box = document.createElement("div");
  box.className = `window dialog ${className}`;
  box.setAttribute("role", "dialog");
  box.setAttribute("aria-modal", "true");
  if (caption !== null) {
    const bar = document.createElement("div");
    bar.className = "caption";
    const title = document.createElement("span");
    title.textContent = caption;
    bar.append(title);
    box.append(bar);
    box.setAttribute("aria-label", caption);
  }
  return box;
}
