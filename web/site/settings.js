// The settings dialog: built from the engine's template in dialog units, filled with what the
// engine's start request shows, and answered through the engine, which checks every field.

import { bindings, constants, engine } from "./engine.js";
import { afterCommand } from "./mainwindow.js";
import { messageBox } from "./messages.js";
import { closeModal, openModal, windowFrame } from "./modal.js";
import { language, plain, setMnemonicText, tr, ui, withBounds } from "./texts.js";

let form = null;
let settings = null;
let settingsEntry = null;

const editOf = (id) => settings.edits.get(id).element;

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
  let lastLabel = null;
  for (const item of form.items) {
    let element;
    if (item.kind === kinds.groupBox) {
      element = document.createElement("fieldset");
      element.append(document.createElement("legend"));
    } else if (item.kind === kinds.label) {
      element = document.createElement("span");
      lastLabel = item;
    } else if (item.kind === kinds.edit) {
      element = document.createElement("input");
      element.type = "text";
      element.inputMode = "decimal";
      element.autocomplete = "off";
      element.spellcheck = false;
      parts.edits.set(item.id, { element, label: lastLabel });
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
  for (const field of form.fields) {
    const { element, label } = settings.edits.get(field.id);
    element.title = field.bounded ? withBounds(tr(field.tip), field.low, field.high) : tr(field.tip);
    element.setAttribute("aria-label", plain(tr(label.text)).replace(/[\s:]+$/, ""));
  }
}

function applyContinue() {
  for (const field of form.fields) {
    if (field.fixesStartGrid) editOf(field.id).disabled = settings.check.checked;
  }
}

// Opens the dialog with what the engine's start request shows.
export function openSettings() {
  const request = engine.settingsRequest();
  if (request === null) return;
  form.fields.forEach((field, i) => { editOf(field.id).value = request.texts[i]; });
  settings.check.checked = false;
  applyContinue();
  settings.check.disabled = !request.canContinue;
  if (request.canContinue) {
    // Continuing is offered ticked whenever it is possible.
    settings.check.checked = true;
    applyContinue();
  }
  settingsEntry = openModal(settings.box, settingsKey);
  const first = form.fields.map((f) => editOf(f.id)).find((edit) => !edit.disabled);
  first.focus();
  first.select();
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

function focusEdit(edit) {
  edit.focus();
  edit.select();
}

async function settingsOk() {
  const texts = form.fields.map((field) => editOf(field.id).value);
  let refusal = engine.answerStart(texts, settings.check.checked, false, language() === "en");
  if (refusal.unsoundWarning) {
    // Unsound settings run only when the user says so; Cancel, the default, returns to the
    // field that makes them unsound.
    if (await messageBox(refusal.unsoundWarning, ui.applicationName, true, true)) {
      refusal = engine.answerStart(texts, settings.check.checked, true, language() === "en");
    } else {
      focusEdit(editOf(refusal.id) || editOf(form.fields[0].id));
      return;
    }
  }
  if (refusal.id !== 0) {
    const field = form.fields.find((f) => f.id === refusal.id);
    const prompt = refusal.outOfRange
      ? withBounds(tr(refusal.prompt), field.low, field.high) : tr(refusal.prompt);
    await messageBox(prompt, ui.applicationName, false);
    focusEdit(editOf(refusal.id));
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
  if (!(await messageBox(tr(form.confirmDefault), tr(form.confirmCaption), true))) return;
  for (const field of form.fields) editOf(field.id).value = field.defaultText;
}
