// The About box: the program's icon, version, rights and contact at the desktop box's places.
// It holds the step timer while it is open; a click, Enter or Escape closes it.

import { constants, engine } from "./engine.js";
import { afterCommand, refresh } from "./mainwindow.js";
import { closeModal, openModal, windowFrame } from "./modal.js";
import { plain, tr, ui } from "./texts.js";

export function openAbout() {
  const wasRunning = engine.holdTimer();
  refresh();
  const box = windowFrame(null, "about");
  box.setAttribute("aria-label", plain(tr(ui.about)));
  const body = document.createElement("div");
  body.className = "body";
  const icon = document.createElement("img");
  icon.src = "quorvel-32.png";
  icon.alt = "";
  body.append(icon);
  for (const { x, y, text } of constants.aboutLines) {
    const line = document.createElement("span");
    line.textContent = text;
    line.style.left = `${x * constants.dialogUnitX}px`;
    line.style.top = `${y * constants.dialogUnitY}px`;
    body.append(line);
  }
  box.append(body);
  box.tabIndex = -1;
  let entry = null;
  const finish = () => {
    closeModal(entry);
    engine.releaseTimer(wasRunning);
    afterCommand();
  };
  box.addEventListener("click", finish);
  entry = openModal(box, (event) => {
    if (event.key === "Enter" || event.key === "Escape") {
      event.preventDefault();
      finish();
    }
  });
  box.focus();
}
