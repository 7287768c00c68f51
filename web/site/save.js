// Saving from the menu: the picture as a PNG file and the run's history as a CSV file, each a
// download under a name that tells when it was saved.

import { engine } from "./engine.js";
import { paint } from "./mainwindow.js";
import { encode } from "./png.js";

function proposedName(extension) {
  const now = new Date();
  const two = (n) => String(n).padStart(2, "0");
  return `quorvel-${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
    `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}.${extension}`;
}

function download(blob, name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

export async function savePicture() {
  const pixels = paint(true);
  if (pixels === null) return;
  const name = proposedName("png");
  download(await encode(pixels.rgba, pixels.width, pixels.height), name);
}

export function saveHistory() {
  download(new Blob([engine.historyCsv()], { type: "text/csv" }), proposedName("csv"));
}
