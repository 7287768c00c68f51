"use strict";
// What the browser tests share: the checks' record and the content types a static server gives.
const failures = [];
function check(ok, what) {
  if (!ok) failures.push(what);
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
}

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css",
  ".wasm": "application/wasm", ".png": "image/png", ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json" };

module.exports = { failures, check, TYPES };
