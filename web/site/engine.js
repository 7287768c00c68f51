// Loads the engine's module (quorvel.js, loaded before the page's modules) and ends the page
// as the desktop ends the program when the engine fails fatally: its message, written to the
// error output with its exit code, is shown on the page, which then takes no more input.

/* global createQuorvel */
import { showNotice } from "./messages.js";
import { tr, ui } from "./texts.js";

// The engine's module with its tables, the Engine object and the numbers the page lays out
// and paces by: null until loadEngine has made them.
export let bindings = null;
export let engine = null;
export let constants = null;

let lastError = "";
let dead = false;

// Whether the engine has ended.
export const isDead = () => dead;

function ended(what) {
  dead = true;
  // "<message> (exit code N)", the message in the page's language.
  const [, message = lastError, code = ""] = lastError.match(/^(.*?)( \(exit code -?\d+\))?$/) || [];
  const reason = ui ? tr(message) + code : lastError;
  showNotice([ui ? tr(ui.ended) : "", reason, what].filter(Boolean).join("\n"));
}

// Loads the module and makes the Engine; false (with the reason shown) when the module fails
// to load.
export async function loadEngine() {
  // Once the engine has ended, the page takes no more input.
  for (const type of ["pointerdown", "pointerup", "pointermove", "click", "keydown", "contextmenu"]) {
    window.addEventListener(type, (event) => { if (dead) event.stopImmediatePropagation(); }, true);
  }
  try {
    bindings = await createQuorvel({
      printErr: (line) => {
        console.error(line);
        lastError = line;
      },
      onAbort: (what) => ended(String(what)),
      onExit: () => ended(""),
    });
  } catch (error) {
    showNotice(String(error));
    return false;
  }
  engine = new bindings.Engine();
  constants = bindings.pageConstants();
  return true;
}
