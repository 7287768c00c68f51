// eslint's recommended rules for the browser edition's scripts: the page's modules and its
// service worker. The lint test (tests/lint/lint_test.sh) installs eslint from the lock file
// in tests/lint/ into the build folder and runs it from here, with NODE_PATH naming its modules.
const js = require("@eslint/js");
const globals = require("globals");

module.exports = [
  {
    files: ["web/site/**/*.js"],
    ...js.configs.recommended,
    languageOptions: { ecmaVersion: "latest", sourceType: "module", globals: globals.browser },
  },
  {
    files: ["web/site/sw.js"],
    languageOptions: { sourceType: "script", globals: globals.serviceworker },
  },
];
