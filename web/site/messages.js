// What the page tells the user: the notice above the client area, and message boxes.

import { closeModal, openModal, windowFrame } from "./modal.js";
import { tr, ui } from "./texts.js";

// The notice line above the client area; hidden when `text` is empty.
export function showNotice(text) {
  const notice = document.getElementById("notice");
  notice.textContent = text;
  notice.hidden = !text;
}

// A message with OK (and Cancel, the default when `cancelDefault`): resolves true for OK.
export function messageBox(text, caption, okCancel, cancelDefault = false) {
  return new Promise((resolve) => {
    const box = windowFrame(caption, "message");
    const body = document.createElement("div");
    body.className = "text";
    body.textContent = text;
    const row = document.createElement("div");
    row.className = "buttons";
    const ok = document.createElement("button");
    ok.type = "button";
    ok.textContent = "OK";
    row.append(ok);
    let cancel = null;
    if (okCancel) {
      cancel = document.createElement("button");
      cancel.type = "button";
      cancel.textContent = tr(ui.cancel);
      row.append(cancel);
    }
    box.append(body, row);
    let entry = null;
    const finish = (answer) => {
      closeModal(entry);
      resolve(answer);
    };
    ok.addEventListener("click", () => finish(true));
    if (cancel) cancel.addEventListener("click", () => finish(false));
    entry = openModal(box, (event) => {
      if (event.key === "Escape") {
        event.preventDefault();
        finish(!okCancel);
      } else if (event.key === "Enter" && document.activeElement !== cancel) {
        event.preventDefault();
        finish(true);
      }
    });
    (cancelDefault && cancel ? cancel : ok).focus();
  });
}
