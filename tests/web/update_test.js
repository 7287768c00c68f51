"use strict";
// A new version of the site replaces the old whole: two versions, A then B, of SITE are served
// from one folder at one address, by a server that answers as static servers do (the files'
// modification times as Last-Modified, 304 to If-Modified-Since, no Cache-Control), with files
// last modified long ago, so that the browser's own cache holds them as fresh. Each version
// marks every script it runs; a visit after B is deployed, the reload after it and a visit
// offline must each run B's files only. Usage: node update_test.js SITE
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const { chromium } = require("playwright-core");

const [site] = process.argv.slice(2);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), "quorvel-update-"));
const { failures, check, TYPES } = require("./harness");
function serve() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = path.join(dir, name.endsWith("/") ? `${name}index.html` : name);
    if (!file.startsWith(dir) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    const modified = new Date(Math.floor(fs.statSync(file).mtimeMs / 1000) * 1000);
    const since = Date.parse(request.headers["if-modified-since"] ?? "");
    if (modified.getTime() <= since) {
      response.writeHead(304).end();
      return;
    }
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
      "Last-Modified": modified.toUTCString() });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Version `v` of the site in the folder, every file last modified at `time`: each script
// notes that it ran, the page names its version, the service worker's cache is named anew.
const scripts = fs.readdirSync(site).filter((f) => f.endsWith(".js") && f !== "sw.js").sort();
function deploy(v, time) {
  fs.cpSync(site, dir, { recursive: true });
  for (const file of scripts) {
    fs.appendFileSync(path.join(dir, file), `\n;(self.ranFiles ??= []).push("${file}@${v}");\n`);
  }
  const page = path.join(dir, "index.html");
  fs.writeFileSync(page, fs.readFileSync(page, "utf8").replace("<head>", `<head><meta name="version" content="${v}">`));
  const worker = path.join(dir, "sw.js");
  fs.writeFileSync(worker, fs.readFileSync(worker, "utf8").replace(/"quorvel-(\w+)"/, `"quorvel-$1-${v}"`));
  const all = (d) => fs.readdirSync(d, { withFileTypes: true })
    .flatMap((e) => (e.isDirectory() ? all(path.join(d, e.name)) : [path.join(d, e.name)]));
  for (const file of all(dir)) fs.utimesSync(file, time, time);
}

// What the page ran: its version and its scripts', in the order of the scripts.
async function ran(page) {
  await page.waitForSelector("body[data-ready=true]", { timeout: 15000 });
  return page.evaluate(() => [document.querySelector("meta[name=version]").content,
    ...[...self.ranFiles].sort().map((f) => f.split("@")[1])].join(""));
}

(async () => {
  let server = await serve();
  const base = `http://127.0.0.1:${server.address().port}/`;
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
  const context = await browser.newContext();
  const all = (v) => v.repeat(scripts.length + 1);

  deploy("A", new Date("2020-01-01T00:00:00Z"));
  let page = await context.newPage();
  await page.goto(base);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  check((await ran(page)) === all("A"), "version A runs, its service worker installed");
  await page.close();

  deploy("B", new Date("2021-01-01T00:00:00Z"));
  page = await context.newPage();
  await page.goto(base);
  check((await ran(page)) === all("B"), `the visit after B is deployed runs B's files only: ${await ran(page)}`);
  await page.reload();
  check((await ran(page)) === all("B"), `so does the reload after it: ${await ran(page)}`);
  // Once B's worker holds the cache alone (the browser checks for a new worker after each
  // visit; the test asks at once), the site runs B with the server gone.
  const cached = await page.evaluate(async () => {
    await (await navigator.serviceWorker.ready).update();
    for (let i = 0; i < 150; i++) {
      const names = await caches.keys();
      if (names.length === 1 && names[0].endsWith("-B")) return names[0];
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    return (await caches.keys()).join();
  });
  check(cached.endsWith("-B"), `B's worker replaces A's cache: ${cached}`);
  server.closeAllConnections();
  await new Promise((resolve) => server.close(resolve));
  await page.reload();
  check((await ran(page)) === all("B"), `offline, the cache gives B's files only: ${await ran(page)}`);

  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
  process.exit(failures.length === 0 ? 0 : 1);
})().catch((error) => {
  console.error(error);
  fs.rmSync(dir, { recursive: true, force: true });
  process.exit(1);
});
