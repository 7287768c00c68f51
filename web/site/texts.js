// The page's texts: the engine's own Japanese texts, shown in English (from the engine's table
// of text pairs) when the page is in English, and the mnemonic letters they mark.

import { storedLanguage, storeLanguage } from "./storage.js";

// The window's own texts by name, in Japanese; null until the engine has given them.
export let ui = null;
let englishOf = new Map();
let current = storedLanguage();

export function initTexts(bindings) {
  ui = bindings.uiTexts();
  englishOf = new Map(bindings.textPairs());
}

// "ja" or "en".
export const language = () => current;

// Shows the page in another language from now on, and keeps the choice for later visits:
// false when the browser keeps nothing for the page.
export function chooseLanguage(code) {
  current = code;
  return storeLanguage(code);
}

export const tr = (text) => (current === "en" && englishOf.has(text) ? englishOf.get(text) : text);

// "続きから実行する(&T)": the text with its mnemonic letter underlined, and the letter.
export function setMnemonicText(element, text) {
  element.textContent = "";
  const at = text.indexOf("&");
  if (at < 0 || at + 1 >= text.length) {
    element.textContent = text;
    return "";
  }
  const u = document.createElement("u");
  u.textContent = text[at + 1];
  element.append(text.slice(0, at), u, text.slice(at + 2));
  return text[at + 1].toLowerCase();
}

// The text without its mnemonic mark.
export const plain = (text) => text.replace(/&(.)/, "$1");
