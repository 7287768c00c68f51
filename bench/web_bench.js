"use strict";
// Measures the browser edition in headless Chromium (not a test: it prints figures).
// Usage: NODE_PATH=<node_modules> node web_bench.js SITE
//   - 80 x 80 at the fastest speed from 15 °C to an average of 99 °C: seconds and ticks/s
//     (the runner's rate for the same ticks: quorvel-batch --seed 1 --columns 80 --rows 80);
//   - frames per second at the fastest speed;
//   - ×1 at 5 ms and at 1 ms: ticks per second against the nominal rate.
const fs = require("fs");
const http = require("http");
const path = require("path");
const { chromium } = require("playwright-core");

const site = path.resolve(process.argv[2]);
const TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css",
  ".wasm": "application/wasm", ".png": "image/png", ".svg": "image/svg+xml" };

(async () => {
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, "http://x").pathname;
    const file = path.join(site, name.endsWith("/") ? `${name}index.html` : name);
    if (!file.startsWith(site) || !fs.existsSync(file)) return response.writeHead(404).end();
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
  const page = await browser.newPage({ viewport: { width: 1024, height: 768 } });

  async function run(query) {
    await page.goto(`${base}/?${query}`);
    await page.waitForSelector("body[data-ready=true]");
    await page.click("#start-button");
    await page.keyboard.press("Enter");
  }

  // As the desktop's window_rate: the program's burners, the history shown.
  await run("seed=1&columns=80&rows=80&speed=max");
  await page.click("#history-button");
  const boil = await page.evaluate(() => new Promise((resolve) => {
    const t0 = performance.now();
    let frames = 0;
    const frame = () => {
      frames++;
      const s = window.quorvel.state();
      if (s.temperature >= 99 || performance.now() - t0 > 60000) {
        const seconds = (performance.now() - t0) / 1000;
        resolve({ seconds, ticks: s.ticks, temperature: s.temperature, fps: frames / seconds });
      } else {
        requestAnimationFrame(frame);
      }
    };
    requestAnimationFrame(frame);
  }));
  console.log(`80x80 at max to ${boil.temperature} °C: ${boil.seconds.toFixed(2)} s, ` +
    `${boil.ticks} ticks, ${Math.round(boil.ticks / boil.seconds)} ticks/s, ${boil.fps.toFixed(1)} frames/s`);

  for (const interval of [5, 1]) {
    await run("seed=1&speed=1");
    await page.click("#start-button"); // stop, then start again with the interval
    await page.click("#start-button");
    await page.getByLabel(/シミュレーション間隔/).fill(String(interval));
    await page.getByLabel("続きから実行する(T)").uncheck().catch(() => {});
    await page.keyboard.press("Enter");
    const rate = await page.evaluate(() => new Promise((resolve) => {
      const from = window.quorvel.state().ticks;
      const t0 = performance.now();
      setTimeout(() => {
        resolve((window.quorvel.state().ticks - from) / ((performance.now() - t0) / 1000));
      }, 5000);
    }));
    console.log(`×1 at ${interval} ms: ${rate.toFixed(1)} ticks/s of ${1000 / interval} (${(rate * interval / 1000).toFixed(3)})`);
  }
  await browser.close();
  server.close();
})();
