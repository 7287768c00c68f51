// What the page keeps in the browser between visits: the language chosen from the menu.

const LANGUAGE_KEY = "quorvel.language";

// "en" when English was chosen; Japanese, the program's own language, otherwise.
export function storedLanguage() {
  return localStorage.getItem(LANGUAGE_KEY) === "en" ? "en" : "ja";
}

export function storeLanguage(code) {
  localStorage.setItem(LANGUAGE_KEY, code);
}
