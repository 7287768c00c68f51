"use strict";
// Drives the browser edition in the system's Chromium, headless: the page served from SITE by
// a local static server. Checks what a user sees and does; the seeded run's saved picture and
// CSV, and the numbers to compare them by, go to OUT for web_test.sh to compare with the
// native runner. Usage: node page_test.js SITE OUT
const fs = require("fs");
const http = require("http");
const path = require("path");
const { chromium } = require("playwright-core");

const [site, out] = process.argv.slice(2);
const { failures, check, TYPES } = require("./harness");
function serve() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const file = path.join(site, name.endsWith("/") ? `${name}index.html` : name);
    if (!file.startsWith(site) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

const state = (page) => page.evaluate(() => window.quorvel.state());
const buttonsOf = (page) => page.evaluate(() => Object.fromEntries(
  ["start", "pause", "ends", "centre"].map((name) => {
    const b = document.getElementById(`${name}-button`);
    return [name, [b.textContent, !b.disabled]];
  })));

async function open(context, query = "", errors = []) {
  const page = await context.newPage();
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  page.on("pageerror", (e) => errors.push(e.message));
  // Nothing is fetched from anywhere but the page's own origin.
  page.on("request", (r) => {
    const url = new URL(r.url());
    if (!["data:", "blob:"].includes(url.protocol) && url.origin !== base) errors.push(`request to ${r.url()}`);
  });
  await page.goto(`${base}/${query}`);
  await page.waitForSelector("body[data-ready=true]", { timeout: 15000 });
  return page;
}

// Opens the settings dialog with Start and answers it with `fill` (field label -> text).
async function start(page, fill = {}) {
  await page.click("#start-button");
  await page.waitForSelector(".settings");
  for (const [label, text] of Object.entries(fill)) await page.getByLabel(label, { exact: true }).fill(text);
  await page.keyboard.press("Enter");
}

let base;
(async () => {
  const server = await serve();
  base = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const errors = [];

  // --- Seeded runs, paused and saved: compared with the runner by web_test.sh. ×1000 stops
  // after whole messages of 1000 ticks; the fastest speed after timed slices of any length.
  const runs = [
    ["x1000", "?seed=2026&speed=1000", 300000, /^Quorvel Ver\. [\d.]+ — ×1000 — ([\d,]+) ticks$/],
    ["max", "?seed=77&speed=max&columns=33&rows=17", 200000, /^Quorvel Ver\. [\d.]+ — 最大 — ([\d,]+) ticks$/],
  ];
  for (const [name, query, ticks, titlePattern] of runs) {
    const page = await open(context, query, errors);
    await start(page);
    await page.waitForFunction((n) => window.quorvel.state().ticks >= n, ticks, { timeout: 20000 });
    await page.click("#pause-button");
    const s = await state(page);
    check(s.paused && (name !== "x1000" || s.ticks % 1000 === 0), `${name}: paused after ${s.ticks} ticks`);
    const title = await page.title();
    check(title.match(titlePattern)?.[1] === s.ticks.toLocaleString("en-US"), `${name}: the title follows the run: ${title}`);
    const inspection = await page.evaluate(() => window.quorvel.engine.inspection());
    const size = await page.evaluate(() => [window.quorvel.engine.clientWidth(), window.quorvel.engine.clientHeight()]);
    const dir = path.join(out, name);
    fs.mkdirSync(dir);
    for (const [item, file] of [[3, "page.png"], [4, "page.csv"]]) {
      await page.click("#menu-button");
      const saved = page.waitForEvent("download");
      await page.locator("#menu [role=menuitem]").nth(item).click();
      await (await saved).saveAs(path.join(dir, file));
    }
    fs.writeFileSync(path.join(dir, "run.txt"), [query.match(/seed=(\d+)/)[1], s.ticks, `${size[0]}x${size[1]}`,
      query.match(/columns=(\d+)/)?.[1] ?? 20, query.match(/rows=(\d+)/)?.[1] ?? 20,
      ...["panel", "selection"].map((k) => { const r = inspection[k]; return `${r.left},${r.top} ${r.right - 1},${r.bottom - 1}`; }),
    ].join("\n") + "\n");
    // The canvas shows exactly the frame that was saved.
    const shown = await page.evaluate(() => {
      const canvas = document.getElementById("frame");
      const mine = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
      const engine = window.quorvel.engine.frameRgba();
      return mine.length === engine.length && mine.every((v, i) => v === engine[i]);
    });
    check(shown, `${name}: the canvas holds the engine's frame pixel for pixel`);
    // The history panel, opened at a new size, shows the engine's placeholders until the next
    // tick's averages, which the engine formats.
    await page.click("#history-button");
    const placeholders = [await page.textContent("#status-temperature"), await page.textContent("#status-heat")];
    await page.keyboard.press("s");
    await page.waitForFunction(() => document.querySelector("#status-temperature").textContent.startsWith("平均温度: "));
    check(placeholders.join("|") === "Average Temperature|Average Heat", `${name}: history placeholders ${placeholders}`);
    await page.click("#history-button");
    await page.close();
  }

  // --- The run-state table and single step, with the burner captions' cycle.
  {
    const page = await open(context, "?seed=5", errors);
    const steps = [
      ["idle", null, { start: ["スタート", true], pause: ["一時停止", false] }],
      ["running", (p) => start(p), { start: ["ストップ", true], pause: ["一時停止", true] }],
      ["paused", (p) => p.click("#pause-button"), { start: ["ストップ", false], pause: ["再開", true] }],
      ["resumed", (p) => p.click("#pause-button"), { start: ["ストップ", true], pause: ["一時停止", true] }],
      ["stopped", (p) => p.click("#start-button"), { start: ["スタート", true], pause: ["一時停止", false] }],
    ];
    for (const [name, act, want] of steps) {
      if (act) await act(page);
      const shown = await buttonsOf(page);
      check(shown.start.join() === want.start.join() && shown.pause.join() === want.pause.join(),
        `${name}: start ${shown.start}, pause ${shown.pause}`);
    }
    // Continue: the box is offered ticked and locks the grid's fields; the ticks go on.
    const before = (await state(page)).ticks;
    await page.click("#start-button");
    await page.waitForSelector(".settings");
    const locked = await page.evaluate(() => [...document.querySelectorAll(".settings input")]
      .map((i) => (i.type === "checkbox" ? i.checked : i.disabled)));
    check(locked.filter(Boolean).length === 4 && locked[locked.length - 1] === true,
      "after a stop the dialog offers to continue, locking temperature, columns and rows");
    await page.keyboard.press("Enter");
    await page.click("#pause-button");
    const paused = (await state(page)).ticks;
    check(paused >= before, `the continued run goes on from ${before} ticks (${paused})`);
    await page.keyboard.press("s");
    await page.keyboard.press("s");
    check((await state(page)).ticks === paused + 2, "S runs exactly one tick while paused");

    // The speed keys, and the About box holding the step timer until Enter closes it.
    for (const [key, speed] of [["+", 1], ["=", 2], ["+", 3], ["-", 2]]) await page.keyboard.press(key);
    check((await state(page)).speed === 2 && (await page.title()).includes("×100 —"), "+, = and - change the speed");
    await page.click("#pause-button"); // running again
    await page.click("#menu-button");
    await page.keyboard.press("a");
    const held = await state(page);
    await page.keyboard.press("Enter");
    check(held.timerOn === false && (await state(page)).timerOn === true && (await page.$(".about")) === null,
      "the About box (A in the menu) holds the run until Enter closes it");

    const cycles = [
      ["#ends-button", ["強火(両端)", "中火(両端)", "弱火(両端)", "消火(両端)"]],
      ["#centre-button", ["消火(中央)", "強火(中央)", "中火(中央)", "弱火(中央)"]],
    ];
    for (const [button, want] of cycles) {
      const seen = [];
      for (let i = 0; i < want.length; i++) {
        await page.click(button);
        seen.push(await page.textContent(button));
      }
      check(seen.join() === want.join(), `${button} cycles ${seen.join(" → ")}`);
    }
    await page.close();
  }

  // --- The settings dialog refuses a bad value with the desktop's prompt and stays open.
  {
    const page = await open(context, "", errors);
    const refusals = [
      ["横方向", "81", "3 から 80 までの整数を入力してください。"],
      ["対流の割合 (0 ～ 1)", "1.5", "0 から 1 までの数値を入力してください。"],
      ["初めの温度 (0 ～ 100)", "12abc", "整数を入力してください。"],
      ["熱伝導の係数", "1e999", "数値を入力してください。"],
    ];
    for (const [label, text, prompt] of refusals) {
      await start(page, { [label]: text });
      await page.waitForSelector(".message");
      const shown = await page.textContent(".message .text");
      await page.keyboard.press("Enter");
      const focus = await page.evaluate(() => document.activeElement.getAttribute("aria-label"));
      check(shown === prompt && focus === label, `${label} = ${text}: "${shown}", focus on ${focus}`);
      await page.keyboard.press("Escape");
      check(!(await state(page)).started && (await page.$(".settings")) === null,
        "Escape cancels the dialog without a start");
    }
    // Unsound settings are asked about first: Cancel, the default, returns to the field; OK runs.
    await start(page, { "熱伝導の係数": "0.5" });
    await page.waitForSelector(".message");
    const warning = await page.textContent(".message .text");
    await page.keyboard.press("Enter");
    const back = await page.evaluate(() => document.activeElement.getAttribute("aria-label"));
    check(warning.startsWith("この値では計算が不安定になり") && warning.includes("0.125") &&
      back === "熱伝導の係数" && !(await state(page)).started,
      `unsound settings asked about, Cancel by default: "${warning}", focus on ${back}`);
    await page.click(".settings .push >> text=OK");
    await page.waitForSelector(".message");
    await page.click(".message button >> text=OK");
    check((await state(page)).started, "OK to the question runs the unsound settings");
    await page.close();
  }
  {
    const page = await open(context, "", errors);
    // DEFAULT asks first, then shows every default.
    await page.click("#start-button");
    await page.getByLabel("室温", { exact: true }).fill("33");
    await page.click(".settings .push >> text=DEFAULT");
    const asked = await page.textContent(".message .text");
    await page.keyboard.press("Enter");
    check(asked === "各値をデフォルト値に戻します。" &&
      (await page.getByLabel("室温", { exact: true }).inputValue()) === "10", "DEFAULT confirms, then restores");
    await page.keyboard.press("Escape");
    await page.close();
  }

  // --- Bad values in the address are named and the defaults used; good ones fill the dialog.
  {
    const page = await open(context, "?rows=500&columns=30&ends=hot&convection-ratio=0.5", errors);
    const notice = await page.textContent("#notice");
    check(notice.includes("rows=500") && notice.includes("ends=hot") && !notice.includes("columns"),
      `the address's bad values are named: ${JSON.stringify(notice)}`);
    await page.click("#start-button");
    const values = await Promise.all(["横方向", "縦方向", "対流の割合 (0 ～ 1)"].map(
      (label) => page.getByLabel(label, { exact: true }).inputValue()));
    check(values.join() === "30,20,0.5", `the dialog shows the address's good values: ${values}`);
    check((await page.textContent("#ends-button")) === "消火(両端)", "a bad burner level keeps the default");
    // Tab goes round the dialog's controls, from the last back to the first.
    await page.focus(".settings .push >> text=DEFAULT");
    await page.keyboard.press("Tab");
    check(await page.evaluate(() => document.activeElement.getAttribute("aria-label")) === "初めの温度 (0 ～ 100)",
      "Tab stays within the dialog");
    await page.keyboard.press("Escape");
    // A new size lays the frame out again; a size the window does not take keeps the layout.
    for (const [width, height, want] of [[700, 500, 700], [120, 90, 700], [1000, 700, 1000]]) {
      await page.setViewportSize({ width, height });
      await page.waitForFunction((w) => window.quorvel.engine.frameWidth() === w, want, { timeout: 2000 })
        .catch(() => {});
      const shown = await page.evaluate(() => [window.quorvel.engine.frameWidth(), document.getElementById("frame").width]);
      check(shown[0] === want && shown[1] === want, `at ${width} x ${height} the frame is ${shown[0]} wide`);
    }
    await page.close();
  }

  // --- The address's values are named escaped and cut short, the first ten and how many more,
  // above a client area that keeps its layout; an option given twice is refused.
  {
    const bad = Array.from({ length: 200 }, (_, i) => `bad${i}=x`).join("&");
    const page = await open(context, `?seed=1&seed=2&rows=%0A${"9".repeat(10000)}&${bad}`, errors);
    const lines = (await page.textContent("#notice")).split("\n");
    const notice = await page.locator("#notice").boundingBox();
    const startBox = await page.locator("#start-button").boundingBox();
    check(lines.length === 12 && lines[1] === "seed given twice (each option may be given once)" &&
      lines[2].startsWith("rows=\\n999") && lines[2].includes("… (10001 bytes) (3 - 80)") &&
      lines[11] === "ほかに 192 個の値も使えません。", `the notice lists ten values and the count of the rest: ${lines.length} lines, ${lines[2].slice(0, 12)}, ${lines.at(-1)}`);
    check(notice.height <= 150 && startBox.y + startBox.height <= 600 && (await state(page)).ticks === 0 &&
      (await page.evaluate(() => window.quorvel.engine.frameWidth())) > 0,
      `a bounded notice (${notice.height} px) leaves the frame and スタート in view`);
    await page.close();
  }

  // --- With the browser's storage blocked (every access throws) or full (a write throws) the
  // page runs; choosing a language says once that it is not kept.
  const storages = [
    ["blocked", () => Object.defineProperty(window, "localStorage",
      { get() { throw new DOMException("blocked", "SecurityError"); } })],
    ["full", () => { Storage.prototype.setItem = () => { throw new DOMException("full", "QuotaExceededError"); }; }],
  ];
  for (const [name, script] of storages) {
    const limited = await browser.newContext({ viewport: { width: 800, height: 600 } });
    await limited.addInitScript(script);
    const page = await open(limited, "", errors);
    for (let i = 0; i < 2; i++) {
      await page.click("#menu-button");
      await page.click("#menu >> text=English");
    }
    const notice = await page.textContent("#notice");
    await start(page);
    await page.waitForFunction(() => window.quorvel.state().ticks > 0);
    check((await page.textContent("#pause-button")) === "Pause" && notice.split("not kept").length === 2,
      `storage ${name}: the page runs in English and says once: ${JSON.stringify(notice)}`);
    await limited.close();
  }

  // --- Every control has an accessible name (in both languages); English is kept.
  {
    const page = await open(context, "", errors);
    await page.click("#menu-button");
    await page.click("#menu >> text=English");
    await page.reload();
    await page.waitForSelector("body[data-ready=true]");
    check((await page.textContent("#start-button")) === "Start", "English is kept across a reload");
    await page.click("#menu-button");
    const guide = context.waitForEvent("page");
    await page.click("#menu >> text=Guide");
    const guidePage = await guide;
    await guidePage.waitForLoadState();
    check(guidePage.url().endsWith("/guide/en.html") && (await guidePage.title()).startsWith("Quorvel"),
      `Guide opens the English guide: ${guidePage.url()}`);
    await guidePage.close();
    await page.click("#start-button");
    await page.click("#menu-button", { force: true }).catch(() => {});
    const cdp = await context.newCDPSession(page);
    const { nodes } = await cdp.send("Accessibility.getFullAXTree");
    const roles = new Set(["button", "textbox", "checkbox", "menuitem", "menuitemradio"]);
    const unnamed = nodes.filter((n) => !n.ignored && roles.has(n.role?.value) && !n.name?.value);
    const named = nodes.filter((n) => !n.ignored && roles.has(n.role?.value)).length;
    check(named >= 20 && unnamed.length === 0, `${named} controls, each with an accessible name`);
    await page.evaluate(() => localStorage.clear());
    await page.close();
  }

  // --- A tap selects a cell; after one visit the page loads and runs offline.
  {
    const touch = await browser.newContext({ viewport: { width: 800, height: 600 }, hasTouch: true });
    const page = await open(touch, "?seed=3", errors);
    await start(page);
    const cell = await page.evaluate(() => window.quorvel.engine.inspection());
    const box = await page.locator("#frame").boundingBox();
    const col = 2, row = 3;
    await page.tap("#frame", { position: { x: 15 + (col + 0.5) * cell.cellWidth, y: 25 + (row + 0.5) * cell.cellHeight } });
    const tapped = await page.evaluate(() => window.quorvel.engine.inspection());
    const spoken = await page.textContent("#panel-text");
    check(box !== null && tapped.selectedCol === col && tapped.selectedRow === row &&
      spoken.startsWith("Cell: ( 2, 3)\nTemp.:"),
      `a tap selects a cell (${tapped.selectedCol}, ${tapped.selectedRow}), read out as ${JSON.stringify(spoken)}`);

    await page.evaluate(() => navigator.serviceWorker.ready);
    await touch.setOffline(true);
    await page.reload();
    await page.waitForSelector("body[data-ready=true]", { timeout: 15000 });
    await start(page);
    await page.waitForFunction(() => window.quorvel.state().ticks > 10, null, { timeout: 5000 });
    check(true, "after one visit the page loads and runs offline");
    await touch.close();
  }

  // --- At 200 % zoom (device scale 2 on a 1024 x 768 screen) each frame pixel is exactly
  // 2 x 2 device pixels of the screen: never smoothed.
  {
    const zoomed = await browser.newContext({ viewport: { width: 512, height: 384 }, deviceScaleFactor: 2 });
    const page = await open(zoomed, "?seed=9", errors);
    await start(page);
    await page.click("#pause-button");
    const box = await page.locator("#frame").boundingBox();
    const shot = (await page.screenshot({ clip: box })).toString("base64");
    const result = await page.evaluate(async (png) => {
      const image = new Image();
      image.src = `data:image/png;base64,${png}`;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      const screen = context.getImageData(0, 0, image.width, image.height).data;
      const engine = window.quorvel.engine;
      const width = engine.frameWidth();
      const height = engine.frameHeight();
      const frame = engine.frameRgba();
      let differing = 0;
      for (let y = 0; y < 2 * height; y++) {
        for (let x = 0; x < 2 * width; x++) {
          const s = (y * image.width + x) * 4;
          const f = ((y >> 1) * width + (x >> 1)) * 4;
          if (screen[s] !== frame[f] || screen[s + 1] !== frame[f + 1] || screen[s + 2] !== frame[f + 2]) differing++;
        }
      }
      return { size: [image.width, image.height], frame: [width, height], differing };
    }, shot);
    check(result.size.join() === `${2 * result.frame[0]},${2 * result.frame[1]}` && result.differing === 0,
      `at device scale 2 the ${result.frame.join(" x ")} frame shows as ${result.size.join(" x ")} ` +
      `device pixels, ${result.differing} differing`);
    await zoomed.close();
  }

  // --- A fatal failure of the drawing ends the program: its message and exit code are shown
  // and the page takes no more input.
  {
    const fatal = [];
    const page = await open(context, "", fatal);
    await page.evaluate(() => window.quorvel.failNextBrush());
    await page.click("#ends-button");
    const notice = await page.textContent("#notice");
    await page.click("#start-button");
    check(notice.includes("ブラシの作成に失敗しました。 (exit code -22)") &&
      (await page.$(".settings")) === null, `a fatal failure is shown and ends the page: ${JSON.stringify(notice)}`);
    await page.close();
  }

  // --- Installable as an app (a profile of its own: private windows install nothing).
  {
    const profile = fs.mkdtempSync(path.join(out, "profile-"));
    const installing = await chromium.launchPersistentContext(profile,
      { executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
    const page = await open(installing, "", errors);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await installing.newCDPSession(page);
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    check(installabilityErrors.length === 0,
      `the page can be installed as an app ${JSON.stringify(installabilityErrors)}`);
    await installing.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }

  check(errors.length === 0, `no console errors and no request to another origin${errors.length ? `: ${errors.join("; ")}` : ""}`);
  await browser.close();
  server.close();
  process.exit(failures.length === 0 ? 0 : 1);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
