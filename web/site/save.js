// Saving from the menu: the picture as a PNG file and the run's history as a CSV file, each a
// download under the name the engine proposes.

import { engine } from "./engine.js";
import { paint } from "./mainwindow.js";
import { encode } from "./png.js";

function download(blob, name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

export async function savePicture(name) {
  const pixels = paint(true);
  if (pixels === null) return;
  download(await encode(pixels.rgba, pixels.width, pixels.height), name);
}

export function saveHistory(name) {
  download(new Blob([engine.historyCsv()], { type: "text/csv" }), name);
}
