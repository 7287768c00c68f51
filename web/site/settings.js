// The settings dialog: built from the engine's template in dialog units and drawn from the
// engine's settings form (values, labels, tooltips, locks, the continue box), which also
// answers OK and DEFAULT and checks every field.

import { bindings, constants, engine } from "./engine.js";
import { afterCommand } from "./mainwindow.js";
import { messageBox } from "./messages.js";
import { closeModal, openModal, windowFrame } from "./modal.js";
import { language, plain, setMnemonicText, tr, ui } from "./texts.js";

let form = null;
let settings = null;
let settingsEntry = null;

const editOf = (id) => settings.edits.get(id);
// What the open dialog shows, in the page's language; null while it is closed.
const settingsView = () => engine.settingsView(language() === "en");

function buildSettingsDialog() {
  const { kinds } = form;
  const box = windowFrame("", "settings");
  const caption = box.querySelector(".caption > span");
  const body = document.createElement("div");
  body.className = "body";
  body.style.width = `${form.width * constants.dialogUnitX}px`;
  body.style.height = `${form.height * constants.dialogUnitY}px`;
  box.append(body);
  const parts = { box, caption, items: [], edits: new Map(), mnemonics: new Map() };
  for (const item of form.items) {
    let element;
    if (item.kind === kinds.groupBox) {
      element = document.createElement("fieldset");
      element.append(document.createElement("legend"));
    } else if (item.kind === kinds.label) {
      element = document.createElement("span");
    } else if (item.kind === kinds.edit) {
      element = document.createElement("input");
      element.type = "text";
      element.inputMode = "decimal";
      element.autocomplete = "off";
      element.spellcheck = false;
      parts.edits.set(item.id, element);
    } else if (item.kind === kinds.check) {
      element = document.createElement("label");
      element.className = "check";
      const input = document.createElement("input");
      input.type = "checkbox";
      element.append(input, document.createElement("span"));
      parts.check = input;
      input.addEventListener("change", applyContinue);
    } else {
      element = document.createElement("button");
      element.type = "button";
      element.className = item.kind === kinds.defaultButton ? "push default" : "push";
      if (item.id === form.okId) element.addEventListener("click", settingsOk);
      if (item.id === form.cancelId) element.addEventListener("click", settingsCancel);
      if (item.id === form.defaultId) element.addEventListener("click", settingsDefault);
    }
    const [x, y, cx, cy] = item.rect;
    Object.assign(element.style, {
      left: `${x * constants.dialogUnitX}px`, top: `${y * constants.dialogUnitY}px`,
      width: `${cx * constants.dialogUnitX}px`, height: `${cy * constants.dialogUnitY}px`,
    });
    body.append(element);
    parts.items.push({ item, element });
  }
  return parts;
}

// Builds the dialog (hidden until a start asks for it).
export function initSettings() {
  form = bindings.settingsForm();
  settings = buildSettingsDialog();
}

// The dialog's texts, tips, names and mnemonics in the page's language.
export function translateSettings() {
  const { kinds } = form;
  settings.caption.textContent = tr(form.caption);
  settings.box.setAttribute("aria-label", tr(form.caption));
  settings.mnemonics.clear();
  for (const { item, element } of settings.items) {
    const text = tr(item.text);
    if (item.kind === kinds.groupBox) {
      element.firstChild.textContent = text;
    } else if (item.kind === kinds.label) {
      element.textContent = text;
    } else if (item.kind === kinds.check) {
      const key = setMnemonicText(element.lastChild, text);
      if (key) settings.mnemonics.set(key, () => settings.check.disabled || settings.check.click());
    } else if (item.kind === kinds.defaultButton || item.kind === kinds.button) {
      const key = setMnemonicText(element, text);
      if (key) settings.mnemonics.set(key, () => element.click());
    }
  }
  showFieldTexts(settingsView());
}

function showFieldTexts(view) {
  if (view === null) return;
  for (const field of view.fields) {
    const element = editOf(field.id);
    element.title = field.tip;
    element.setAttribute("aria-label", plain(field.label).replace(/[\s:]+$/, ""));
  }
  settings.check.parentElement.title = view.continueTip;
}

function showValues(view) {
  for (const field of view.fields) editOf(field.id).value = field.text;
}

function showLocks(view) {
  for (const field of view.fields) editOf(field.id).disabled = field.locked;
  settings.check.disabled = !view.canContinue;
  settings.check.checked = view.continueRun;
}

// An edit with the focus and its whole text selected; none for 0.
function goBackTo(id) {
  if (!settings.edits.has(id)) return;
  editOf(id).focus();
  editOf(id).select();
}

function applyContinue() {
  engine.settingsContinue(settings.check.checked);
  showLocks(settingsView());
}

// Opens the dialog with what the engine's settings form shows.
export function openSettings() {
  const view = settingsView();
  if (view === null) return;
  showValues(view);
  showLocks(view);
  showFieldTexts(view);
  settingsEntry = openModal(settings.box, settingsKey);
  goBackTo(view.focus);
}

function settingsKey(event) {
  if (event.key === "Escape") {
    event.preventDefault();
    settingsCancel();
  } else if (event.key === "Enter") {
    // Enter on a push button presses that button; anywhere else it is OK's.
    if (document.activeElement && document.activeElement.tagName === "BUTTON") return;
    event.preventDefault();
    settingsOk();
  } else if (event.altKey && settings.mnemonics.has(event.key.toLowerCase())) {
    event.preventDefault();
    settings.mnemonics.get(event.key.toLowerCase())();
  }
}

async function settingsOk() {
  const english = language() === "en";
  const texts = settingsView().fields.map((field) => editOf(field.id).value);
  let answer = engine.answerSettings(texts, false, english);
  if (answer.kind === "unsound") {
    // OK/Cancel with Cancel the default: Cancel goes back to the field the answer names.
    if (!(await messageBox(answer.message, ui.applicationName, true, true))) {
      goBackTo(answer.field);
      return;
    }
    answer = engine.answerSettings(texts, true, english);
  }
  if (answer.kind === "refused") {
    await messageBox(answer.message, ui.applicationName, false);
    goBackTo(answer.field);
    return;
  }
  closeModal(settingsEntry);
  afterCommand();
}

function settingsCancel() {
  closeModal(settingsEntry);
  engine.cancelStart();
  afterCommand();
}

async function settingsDefault() {
  const view = settingsView();
  if (!(await messageBox(view.defaultQuestion, view.defaultCaption, true))) return;
  engine.settingsDefault();
  showValues(settingsView());
}
