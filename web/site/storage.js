// What the page keeps in the browser between visits: the language chosen from the menu. The
// browser may keep nothing (site data blocked: every access throws) or be full (a write
// throws): the page then runs as well, in Japanese unless chosen otherwise for this visit.

const LANGUAGE_KEY = "quorvel.language";

// "en" when English was chosen; Japanese, the program's own language, otherwise.
export function storedLanguage() {
  try {
    return localStorage.getItem(LANGUAGE_KEY) === "en" ? "en" : "ja";
  } catch {
    return "ja";
  }
}

// Whether the choice is kept for later visits.
export function storeLanguage(code) {
  try {
    localStorage.setItem(LANGUAGE_KEY, code);
    return true;
  } catch {
    return false;
  }
}
