"use strict";
// The page around the engine: it turns the page's events into the engine's calls and shows
// what the engine says (captions, enabled states, the frame's pixels, the graph). Every rule
// of the program stays in the engine; the texts come from its table of both languages.

(async () => {
  const $ = (id) => document.getElementById(id);
  const LANGUAGE_KEY = "quorvel.language";
  // A dialog unit of the desktop's 9-point dialog font (6 x 12 pixel base units).
  const DLU_X = 1.5;
  const DLU_Y = 1.5;
  const FASTEST = 5;
  // Work per wakeup of the step timer before the page paints and takes events again.
  const SLICE_MS = 12;
  // Timer messages more than this late are not made up (a hidden tab, a slow machine).
  const BACKLOG_MS = 250;

  let Q;
  let ui = null;
  // A fatal failure of the engine ends the program as on the desktop, with its message (written
  // to the error output with its exit code) shown on the page.
  let lastError = "";
  let dead = false;
  const ended = (what) => {
    dead = true;
    // "<message> (exit code N)", the message in the page's language.
    const [, message = lastError, code = ""] = lastError.match(/^(.*?)( \(exit code -?\d+\))?$/) || [];
    const reason = ui ? tr(message) + code : lastError;
    showNotice([ui ? tr(ui.ended) : "", reason, what].filter(Boolean).join("\n"));
  };
  // Once the engine has ended, the page takes no more input.
  for (const type of ["pointerdown", "pointerup", "pointermove", "click", "keydown", "contextmenu"]) {
    window.addEventListener(type, (event) => { if (dead) event.stopImmediatePropagation(); }, true);
  }
  try {
    Q = await createQuorvel({
      printErr: (line) => {
        console.error(line);
        lastError = line;
      },
      onAbort: (what) => ended(String(what)),
      onExit: () => ended(""),
    });
  } catch (error) {
    showNotice(String(error));
    return;
  }
  const engine = new Q.Engine();
  ui = Q.uiTexts();
  const form = Q.settingsForm();
  const englishOf = new Map(Q.textPairs());
  let language = localStorage.getItem(LANGUAGE_KEY) === "en" ? "en" : "ja";
  engine.setMenuLanguage(language);
  // The user's guide, where the site carries a copy of it (scripts/build-web.sh puts it in).
  fetch("guide/ja.html").then((r) => engine.setGuideShown(r.ok), () => {});

  const tr = (text) => (language === "en" && englishOf.has(text) ? englishOf.get(text) : text);

  // "続きから実行する(&T)": the text with its mnemonic letter underlined, and the letter.
  function setMnemonicText(element, text) {
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
  const plain = (text) => text.replace(/&(.)/, "$1");

  function showNotice(text) {
    const notice = $("notice");
    notice.textContent = text;
    notice.hidden = !text;
  }

  // ---- The main window --------------------------------------------------------------------
  const client = $("client");
  const frame = $("frame");
  const frameContext = frame.getContext("2d", { alpha: false });
  const buttons = {
    history: $("history-button"), pause: $("pause-button"), centre: $("centre-button"),
    ends: $("ends-button"), start: $("start-button"), close: $("close-button"),
  };
  const buttonOrder = ["history", "pause", "centre", "ends", "start", "close"];
  let state = engine.state();
  function showTitle() {
    // The engine says when: a command's title at once, the ticks' at their own pace.
    const title = engine.titleToShow(performance.now());
    if (title === null) return;
    $("title").textContent = title;
    document.title = title;
  }

  function refresh() {
    state = engine.state();
    buttons.start.textContent = tr(state.startCaption);
    buttons.start.disabled = !state.startEnabled;
    buttons.pause.textContent = tr(state.pauseCaption);
    buttons.pause.disabled = !state.pauseEnabled;
    buttons.ends.textContent = tr(state.endsCaption);
    buttons.centre.textContent = tr(state.centreCaption);
    showTitle();
    syncPace();
  }

  function layOut() {
    const top = Math.ceil(client.getBoundingClientRect().top);
    const cx = Math.floor(document.documentElement.clientWidth);
    const cy = Math.floor(window.innerHeight - top);
    // A size the window does not take keeps the last layout.
    if (!engine.resize(cx, cy)) return;
    client.style.width = `${cx}px`;
    client.style.height = `${cy}px`;
    frame.width = engine.frameWidth();
    frame.height = engine.frameHeight();
    frame.style.width = `${frame.width}px`;
    frame.style.height = `${frame.height}px`;
    const row = engine.buttonRow();
    buttonOrder.forEach((name, i) => {
      const style = buttons[name].style;
      style.left = `${row.edges[i]}px`;
      style.top = `${row.top}px`;
      style.width = `${row.edges[i + 1] - row.edges[i]}px`;
      style.height = `${row.bottom - row.top}px`;
    });
    refresh();
    paint(true);
  }

  // Copies the frame to the canvas when it changed (or when forced); returns its pixels.
  function paint(force = false) {
    let pixels = null;
    if (force || engine.frameChanged()) {
      const bytes = engine.frameRgba();
      const width = engine.frameWidth();
      const height = engine.frameHeight();
      if (bytes.length > 0) {
        pixels = { rgba: new Uint8ClampedArray(bytes), width, height };
        frameContext.putImageData(new ImageData(pixels.rgba, width, height), 0, 0);
      }
    }
    paintHistory();
    return pixels;
  }

  function afterCommand() {
    refresh();
    paint();
    reportDivergence();
  }

  // A run that reached cells that are not finite or below absolute zero has paused: said once.
  function reportDivergence() {
    const text = engine.takeDivergence();
    if (!text) return;
    refresh();
    paint();
    messageBox(tr(text), ui.applicationName, false);
  }

  // ---- Pace: the step timer ----------------------------------------------------------------
  // The timer's messages are due every period from its start; each wakeup runs those due,
  // so ×1 holds one tick per period on average whatever the browser's timer granularity. At
  // the fastest speed each animation frame runs one message of about 8 ms of ticks instead.
  const pace = { starts: -1, period: 5, t0: 0, done: 0, timeout: 0, speed: state.speed };
  let animating = false;

  function restartClock() {
    pace.t0 = performance.now();
    pace.done = 0;
  }

  function syncPace() {
    if (!state.timerOn) {
      clearTimeout(pace.timeout);
      pace.timeout = 0;
      pace.starts = -1;
      return;
    }
    if (state.timerStarts !== pace.starts || state.speed !== pace.speed) {
      const wasFastest = pace.speed === FASTEST;
      pace.starts = state.timerStarts;
      pace.period = Math.max(1, state.timerPeriod);
      pace.speed = state.speed;
      if (wasFastest || pace.timeout === 0) restartClock();
    }
    scheduleStep();
    if (!animating) {
      animating = true;
      requestAnimationFrame(animate);
    }
  }

  function scheduleStep() {
    if (pace.timeout !== 0 || !state.timerOn || state.speed === FASTEST) return;
    const wait = pace.t0 + (pace.done + 1) * pace.period - performance.now();
    pace.timeout = setTimeout(runDueMessages, Math.max(0, wait));
  }

  function runDueMessages() {
    pace.timeout = 0;
    if (dead || !state.timerOn || state.speed === FASTEST) return;
    const now = performance.now();
    let due = Math.floor((now - pace.t0) / pace.period) - pace.done;
    if (due * pace.period > BACKLOG_MS) {
      pace.t0 = now - pace.period;
      pace.done = 0;
      due = 1;
    }
    const until = now + SLICE_MS;
    while (due-- > 0) {
      engine.timer();
      pace.done++;
      if (performance.now() > until) break;
    }
    reportDivergence();
    scheduleStep();
  }

  function animate() {
    if (dead) return;
    if (state.timerOn && state.speed === FASTEST) engine.timer();
    paint();
    reportDivergence();
    showTitle();
    if (state.timerOn) {
      requestAnimationFrame(animate);
    } else {
      animating = false;
    }
  }

  // ---- Buttons, mouse and keyboard -----------------------------------------------------------
  buttons.start.addEventListener("click", () => {
    if (engine.startStop()) openSettings();
    afterCommand();
  });
  buttons.pause.addEventListener("click", () => { engine.pauseResume(); afterCommand(); });
  buttons.ends.addEventListener("click", () => { engine.endsFlame(); afterCommand(); });
  buttons.centre.addEventListener("click", () => { engine.centreFlame(); afterCommand(); });
  buttons.history.addEventListener("click", () => showHistory($("history").hidden));
  buttons.close.addEventListener("click", () => {
    // Ends the program: an installed app's window closes; a tab leaves the page.
    engine.holdTimer();
    window.close();
    location.replace("about:blank");
  });

  // The pixel a position lies in, in the client area.
  function pixelOf(event) {
    const rect = client.getBoundingClientRect();
    return [Math.floor(event.clientX - rect.left), Math.floor(event.clientY - rect.top)];
  }
  const onClientArea = (event) => event.target === frame || event.target === client;
  // The panel's lines for screen readers, when the panel turns to another cell.
  let spokenCell = "";
  function speakPanel() {
    const text = engine.panelText();
    const cell = text.split("\n")[0];
    if (cell === spokenCell) return;
    spokenCell = cell;
    $("panel-text").textContent = text;
  }
  client.addEventListener("pointermove", (event) => {
    if (!onClientArea(event) || event.pointerType === "touch") return;
    engine.mouseMove(...pixelOf(event));
    paint();
    speakPanel();
  });
  client.addEventListener("pointerup", (event) => {
    if (!onClientArea(event) || event.button !== 0) return;
    const [x, y] = pixelOf(event);
    // A tap has no hover before it: it moves the inspection there, then selects.
    if (event.pointerType === "touch") engine.mouseMove(x, y);
    engine.lButtonUp(x, y);
    paint();
    spokenCell = "";
    speakPanel();
  });
  client.addEventListener("contextmenu", (event) => {
    event.preventDefault();
    openMenu(event.clientX, event.clientY);
  });
  $("menu-button").addEventListener("click", () => {
    const rect = $("menu-button").getBoundingClientRect();
    openMenu(rect.right, rect.bottom, true);
  });

  document.addEventListener("keydown", (event) => {
    if (modals.length > 0) {
      const top = modals[modals.length - 1];
      if (event.key === "Tab") keepFocusIn(top.element, event);
      else top.onKey(event);
      return;
    }
    if (!$("menu").hidden) {
      menuKey(event);
      return;
    }
    if (event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.key === "ContextMenu" || (event.shiftKey && event.key === "F10")) {
      event.preventDefault();
      const rect = client.getBoundingClientRect();
      openMenu(rect.left + 8, rect.top + 8);
    } else {
      // The engine tells which menu item a key chooses, if any.
      const id = Q.menuKey(event.key, (event.code || "").startsWith("Numpad"));
      if (id === 0) return;
      chooseItem(id);
    }
    event.preventDefault();
  });

  // ---- Modal boxes ---------------------------------------------------------------------------
  const layer = $("modal-layer");
  const modals = [];

  function openModal(element, onKey) {
    const entry = { element, onKey, returnFocus: document.activeElement };
    modals.push(entry);
    layer.append(element);
    layer.hidden = false;
    closeMenu();
    return entry;
  }
  function closeModal(entry) {
    const at = modals.indexOf(entry);
    if (at >= 0) modals.splice(at, 1);
    entry.element.remove();
    layer.hidden = modals.length === 0;
    if (entry.returnFocus && entry.returnFocus.focus) entry.returnFocus.focus();
  }

  // Tab and Shift+Tab go round the controls of the open box, never to the page behind it.
  function keepFocusIn(box, event) {
    const stops = [...box.querySelectorAll("input, button")].filter((e) => !e.disabled);
    if (stops.length === 0) {
      event.preventDefault();
      return;
    }
    const at = stops.indexOf(document.activeElement);
    const next = event.shiftKey ? (at <= 0 ? stops.length - 1 : at - 1) : (at + 1) % stops.length;
    event.preventDefault();
    stops[next].focus();
    if (stops[next].type === "text") stops[next].select();
  }

  function windowFrame(caption, className) {
    const box = document.createElement("div");
    box.className = `window dialog ${className}`;
    box.setAttribute("role", "dialog");
    box.setAttribute("aria-modal", "true");
    if (caption !== null) {
      const bar = document.createElement("div");
      bar.className = "caption";
      const title = document.createElement("span");
      title.textContent = caption;
      bar.append(title);
      box.append(bar);
      box.setAttribute("aria-label", caption);
    }
    return box;
  }

  // A message with OK (and Cancel, the default when `cancelDefault`): resolves true for OK.
  function messageBox(text, caption, okCancel, cancelDefault = false) {
    return new Promise((resolve) => {
      const box = windowFrame(caption, "message");
      const body = document.createElement("div");
      body.className = "text";
      body.textContent = text;
      const row = document.createElement("div");
      row.className = "buttons";
      const ok = document.createElement("button");
      ok.type = "button";
      ok.textContent = "OK";
      row.append(ok);
      let cancel = null;
      if (okCancel) {
        cancel = document.createElement("button");
        cancel.type = "button";
        cancel.textContent = tr(ui.cancel);
        row.append(cancel);
      }
      box.append(body, row);
      let entry = null;
      const finish = (answer) => {
        closeModal(entry);
        resolve(answer);
      };
      ok.addEventListener("click", () => finish(true));
      if (cancel) cancel.addEventListener("click", () => finish(false));
      entry = openModal(box, (event) => {
        if (event.key === "Escape") {
          event.preventDefault();
          finish(!okCancel);
        } else if (event.key === "Enter" && document.activeElement !== cancel) {
          event.preventDefault();
          finish(true);
        }
      });
      (cancelDefault && cancel ? cancel : ok).focus();
    });
  }

  // ---- The settings dialog -------------------------------------------------------------------
  const settings = buildSettingsDialog();
  let settingsEntry = null;

  function buildSettingsDialog() {
    const box = windowFrame("", "settings");
    const caption = box.querySelector(".caption > span");
    const body = document.createElement("div");
    body.className = "body";
    body.style.width = `${form.width * DLU_X}px`;
    body.style.height = `${form.height * DLU_Y}px`;
    box.append(body);
    const parts = { box, caption, items: [], edits: new Map(), mnemonics: new Map() };
    for (const item of form.items) {
      let element;
      if (item.kind === 0) {
        element = document.createElement("fieldset");
        element.append(document.createElement("legend"));
      } else if (item.kind === 1) {
        element = document.createElement("span");
      } else if (item.kind === 2) {
        element = document.createElement("input");
        element.type = "text";
        element.inputMode = "decimal";
        element.autocomplete = "off";
        element.spellcheck = false;
        parts.edits.set(item.id, element);
      } else if (item.kind === 3) {
        element = document.createElement("label");
        element.className = "check";
        const input = document.createElement("input");
        input.type = "checkbox";
        element.append(input, document.createElement("span"));
        parts.check = input;
        input.addEventListener("change", applyContinue);
      } else {
        element = document.createElement("button");
        element.type = "button";
        element.className = item.kind === 4 ? "push default" : "push";
        if (item.id === form.okId) element.addEventListener("click", settingsOk);
        if (item.id === form.cancelId) element.addEventListener("click", settingsCancel);
        if (item.id === form.defaultId) element.addEventListener("click", settingsDefault);
      }
      const [x, y, cx, cy] = item.rect;
      Object.assign(element.style, {
        left: `${x * DLU_X}px`, top: `${y * DLU_Y}px`,
        width: `${cx * DLU_X}px`, height: `${cy * DLU_Y}px`,
      });
      body.append(element);
      parts.items.push({ item, element });
    }
    return parts;
  }

  function translateSettings() {
    settings.caption.textContent = tr(form.caption);
    settings.box.setAttribute("aria-label", tr(form.caption));
    settings.mnemonics.clear();
    for (const { item, element } of settings.items) {
      const text = tr(item.text);
      if (item.kind === 0) {
        element.firstChild.textContent = text;
      } else if (item.kind === 1) {
        element.textContent = text;
      } else if (item.kind === 3) {
        const key = setMnemonicText(element.lastChild, text);
        if (key) settings.mnemonics.set(key, () => settings.check.disabled || settings.check.click());
      } else if (item.kind >= 4) {
        const key = setMnemonicText(element, text);
        if (key) settings.mnemonics.set(key, () => element.click());
      }
    }
    showFieldTexts(settingsView());
  }

  // The engine's settings form draws the dialog: its fields' values, labels, tooltips and
  // locks, the continue box, and the answers to OK and DEFAULT. Null while it is closed.
  const settingsView = () => engine.settingsView(language === "en");
  const editOf = (id) => settings.edits.get(id);

  function showFieldTexts(view) {
    if (view === null) return;
    for (const field of view.fields) {
      const element = editOf(field.id);
      element.title = field.tip;
      element.setAttribute("aria-label", plain(field.label).replace(/[\s:]+$/, ""));
    }
    settings.check.parentElement.title = view.continueTip;
  }

  function showValues(view) {
    for (const field of view.fields) editOf(field.id).value = field.text;
  }

  function showLocks(view) {
    for (const field of view.fields) editOf(field.id).disabled = field.locked;
    settings.check.disabled = !view.canContinue;
    settings.check.checked = view.continueRun;
  }

  // An edit with the focus and its whole text selected; none for 0.
  function goBackTo(id) {
    if (!settings.edits.has(id)) return;
    editOf(id).focus();
    editOf(id).select();
  }

  function applyContinue() {
    engine.settingsContinue(settings.check.checked);
    showLocks(settingsView());
  }

  function openSettings() {
    const view = settingsView();
    if (view === null) return;
    showValues(view);
    showLocks(view);
    showFieldTexts(view);
    settingsEntry = openModal(settings.box, settingsKey);
    goBackTo(view.focus);
  }

  function settingsKey(event) {
    if (event.key === "Escape") {
      event.preventDefault();
      settingsCancel();
    } else if (event.key === "Enter") {
      // Enter on a push button presses that button; anywhere else it is OK's.
      if (document.activeElement && document.activeElement.tagName === "BUTTON") return;
      event.preventDefault();
      settingsOk();
    } else if (event.altKey && settings.mnemonics.has(event.key.toLowerCase())) {
      event.preventDefault();
      settings.mnemonics.get(event.key.toLowerCase())();
    }
  }

  async function settingsOk() {
    const english = language === "en";
    const texts = settingsView().fields.map((field) => editOf(field.id).value);
    let answer = engine.answerSettings(texts, false, english);
    if (answer.kind === "unsound") {
      // OK/Cancel with Cancel the default: Cancel goes back to the field the answer names.
      if (!(await messageBox(answer.message, ui.applicationName, true, true))) {
        goBackTo(answer.field);
        return;
      }
      answer = engine.answerSettings(texts, true, english);
    }
    if (answer.kind === "refused") {
      await messageBox(answer.message, ui.applicationName, false);
      goBackTo(answer.field);
      return;
    }
    closeModal(settingsEntry);
    afterCommand();
  }

  function settingsCancel() {
    closeModal(settingsEntry);
    engine.cancelStart();
    afterCommand();
  }

  async function settingsDefault() {
    const view = settingsView();
    if (!(await messageBox(view.defaultQuestion, view.defaultCaption, true))) return;
    engine.settingsDefault();
    showValues(settingsView());
  }

  // ---- About box ------------------------------------------------------------------------------
  function openAbout() {
    const wasRunning = engine.holdTimer();
    refresh();
    const box = windowFrame(null, "about");
    box.setAttribute("aria-label", plain(tr(ui.about)));
    const body = document.createElement("div");
    body.className = "body";
    const icon = document.createElement("img");
    icon.src = "quorvel-32.png";
    icon.alt = "";
    body.append(icon);
    [[14, ui.aboutVersion], [29, ui.aboutRights], [44, ui.aboutContact]].forEach(([y, text]) => {
      const line = document.createElement("span");
      line.textContent = text;
      line.style.left = `${53 * DLU_X}px`;
      line.style.top = `${y * DLU_Y}px`;
      body.append(line);
    });
    box.append(body);
    box.tabIndex = -1;
    let entry = null;
    const finish = () => {
      closeModal(entry);
      engine.releaseTimer(wasRunning);
      afterCommand();
    };
    box.addEventListener("click", finish);
    entry = openModal(box, (event) => {
      if (event.key === "Enter" || event.key === "Escape") {
        event.preventDefault();
        finish();
      }
    });
    box.focus();
  }

  // ---- Context menu ---------------------------------------------------------------------------
  const menu = $("menu");
  let submenu = null;

  function menuItem(parent, text, action, { enabled = true, checked = null, radio = true, key = "" } = {}) {
    const item = document.createElement("button");
    item.type = "button";
    item.setAttribute("role", checked === null ? "menuitem" : radio ? "menuitemradio" : "menuitemcheckbox");
    if (checked !== null) item.setAttribute("aria-checked", String(checked));
    const label = document.createElement("span");
    const mnemonic = setMnemonicText(label, text);
    item.append(label);
    if (key) {
      const hint = document.createElement("span");
      hint.className = "key";
      hint.textContent = key;
      item.append(hint);
    }
    item.disabled = !enabled;
    if (mnemonic) item.dataset.mnemonic = mnemonic;
    item.addEventListener("click", (event) => {
      event.stopPropagation();
      action(item);
    });
    parent.append(item);
    return item;
  }

  function placeMenu(element, x, y, alignRight = false) {
    element.hidden = false;
    const width = element.offsetWidth;
    const height = element.offsetHeight;
    const left = alignRight ? x - width : x;
    element.style.left = `${Math.max(0, Math.min(left, window.innerWidth - width))}px`;
    element.style.top = `${Math.max(0, Math.min(y, window.innerHeight - height))}px`;
  }

  // The engine's items as the page draws them; a choice goes back to the engine, which runs
  // its part and says what is left to the page.
  function addItems(parent, items) {
    for (const item of items) {
      if (item.kind === "separator") {
        parent.append(document.createElement("hr"));
      } else if (item.kind === "submenu") {
        const entry = menuItem(parent, `${tr(item.text)}  ▸`, (e) => openSubmenu(e), { enabled: item.enabled });
        entry.setAttribute("aria-haspopup", "menu");
        entry.submenu = item;
        entry.addEventListener("pointerenter", () => openSubmenu(entry));
      } else {
        menuItem(parent, tr(item.text), () => { closeMenu(); chooseItem(item.id); }, {
          enabled: item.enabled, checked: item.kind === "command" ? null : item.checked,
          radio: item.kind === "radio", key: item.key,
        });
      }
    }
  }

  function chooseItem(id) {
    const outcome = engine.chooseMenuItem(id);
    if (outcome.action === "") afterCommand();
    else if (outcome.action === "about") openAbout();
    else if (outcome.action === "savePicture") savePicture(outcome.name);
    else if (outcome.action === "saveHistory") saveHistory(outcome.name);
    else if (outcome.action === "language") setLanguage(outcome.language);
    else if (outcome.action === "guide") window.open(`guide/${language}.html`, "_blank", "noopener");
  }

  function openMenu(x, y, alignRight = false) {
    closeMenu();
    menu.textContent = "";
    menu.setAttribute("aria-label", tr(ui.menuButton));
    addItems(menu, engine.menu());
    // Another item under the pointer closes an open submenu.
    for (const item of menu.querySelectorAll("button:not([aria-haspopup])")) {
      item.addEventListener("pointerenter", () => { if (submenu) { submenu.remove(); submenu = null; } });
    }
    placeMenu(menu, x, y, alignRight);
    const first = menu.querySelector("button:not(:disabled)");
    if (first) first.focus();
  }

  function openSubmenu(anchor) {
    if (submenu) submenu.remove();
    submenu = document.createElement("div");
    submenu.className = "menu";
    submenu.setAttribute("role", "menu");
    submenu.setAttribute("aria-label", tr(anchor.submenu.text));
    addItems(submenu, anchor.submenu.items);
    document.body.append(submenu);
    const rect = anchor.getBoundingClientRect();
    const fitsRight = rect.right + submenu.offsetWidth <= window.innerWidth;
    placeMenu(submenu, fitsRight ? rect.right : rect.left, rect.top, !fitsRight);
  }

  function closeMenu() {
    menu.hidden = true;
    if (submenu) {
      submenu.remove();
      submenu = null;
    }
  }

  function menuKey(event) {
    const open = submenu || menu;
    const items = [...open.querySelectorAll("button:not(:disabled)")];
    const at = items.indexOf(document.activeElement);
    if (event.key === "Escape") {
      if (submenu) {
        submenu.remove();
        submenu = null;
        menu.querySelector("[aria-haspopup]").focus();
      } else {
        closeMenu();
      }
    } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      const step = event.key === "ArrowDown" ? 1 : items.length - 1;
      items[(at + step) % items.length].focus();
    } else if (event.key === "ArrowRight" && document.activeElement?.hasAttribute("aria-haspopup")) {
      openSubmenu(document.activeElement);
      submenu.querySelector("button").focus();
    } else if (event.key.length === 1) {
      const item = items.find((b) => b.dataset.mnemonic === event.key.toLowerCase());
      if (item) item.click();
      else return;
    } else {
      return;
    }
    event.preventDefault();
  }

  document.addEventListener("pointerdown", (event) => {
    if (menu.hidden) return;
    if (!menu.contains(event.target) && !(submenu && submenu.contains(event.target))) closeMenu();
  });
  window.addEventListener("blur", closeMenu);

  // ---- Saving ---------------------------------------------------------------------------------
  function download(blob, name) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  async function savePicture(name) {
    const pixels = paint(true);
    if (pixels === null) return;
    download(await QuorvelPng.encode(pixels.rgba, pixels.width, pixels.height), name);
  }

  function saveHistory(name) {
    download(new Blob([engine.historyCsv()], { type: "text/csv" }), name);
  }

  // ---- History panel --------------------------------------------------------------------------
  const history = $("history");
  const graph = $("graph");
  const graphContext = graph.getContext("2d", { alpha: false });
  const caption = history.querySelector(".caption");

  function showHistory(show) {
    history.hidden = !show;
    if (show) {
      sizeHistory();
      paintHistory(true);
    }
  }
  $("history-close").addEventListener("click", () => showHistory(false));

  // The panel's client area (below its caption) holds the graph above the status bar; the
  // engine makes the graph again for each new size it takes, as the desktop's history window.
  function sizeHistory() {
    const cx = history.clientWidth;
    const cy = history.clientHeight - caption.offsetHeight;
    if (!engine.resizeGraph(cx, cy)) return;
    graph.width = engine.graphWidth();
    graph.height = engine.graphHeight();
    graph.style.width = `${graph.width}px`;
    graph.style.height = `${graph.height}px`;
    paintHistory(true);
  }
  new ResizeObserver(() => { if (!history.hidden) sizeHistory(); }).observe(history);

  function paintHistory(force = false) {
    if (history.hidden) return;
    if (force || engine.graphChanged()) {
      const bytes = engine.graphRgba();
      if (bytes.length > 0) {
        graphContext.putImageData(
          new ImageData(new Uint8ClampedArray(bytes), engine.graphWidth(), engine.graphHeight()), 0, 0);
      }
    }
    const [temperature, heat] = engine.historyStatus();
    if ($("status-temperature").textContent !== temperature) $("status-temperature").textContent = temperature;
    if ($("status-heat").textContent !== heat) $("status-heat").textContent = heat;
  }

  // The panel moves by its caption, within the page.
  caption.addEventListener("pointerdown", (event) => {
    if (event.target.tagName === "BUTTON") return;
    const rect = history.getBoundingClientRect();
    const dx = event.clientX - rect.left;
    const dy = event.clientY - rect.top;
    const move = (e) => {
      history.style.left = `${Math.max(0, Math.min(e.clientX - dx, window.innerWidth - rect.width))}px`;
      history.style.top = `${Math.max(0, Math.min(e.clientY - dy, window.innerHeight - rect.height))}px`;
      history.style.right = "auto";
      history.style.bottom = "auto";
    };
    const up = () => {
      window.removeEventListener("pointermove", move);
      window.removeEventListener("pointerup", up);
    };
    window.addEventListener("pointermove", move);
    window.addEventListener("pointerup", up);
  });

  // ---- Language -------------------------------------------------------------------------------
  function setLanguage(code) {
    language = code;
    engine.setMenuLanguage(code);
    localStorage.setItem(LANGUAGE_KEY, code);
    translatePage();
    // The notice above the client area may take another height in the other language.
    layOut();
  }

  function translatePage() {
    document.documentElement.lang = language;
    buttons.history.textContent = tr(ui.history);
    buttons.close.textContent = tr(ui.close);
    const tips = { history: ui.historyTip, pause: ui.pauseTip, centre: ui.centreTip,
      ends: ui.endsTip, start: ui.startTip, close: ui.closeTip };
    for (const name of buttonOrder) buttons[name].title = tr(tips[name]);
    $("menu-button").setAttribute("aria-label", tr(ui.menuButton));
    $("menu-button").title = tr(ui.menuButton);
    $("history-caption").textContent = tr(ui.historyCaption);
    history.setAttribute("aria-label", tr(ui.historyCaption));
    $("history-close").setAttribute("aria-label", tr(ui.close));
    frame.setAttribute("aria-label", ui.title);
    frame.setAttribute("role", "img");
    engine.setEnglish(language === "en");
    translateSettings();
    showAddressErrors();
    refresh();
    paintHistory();
  }

  // ---- The address: seed, settings, burners and speed -----------------------------------------
  const addressErrors = [];
  for (const [name, value] of new URLSearchParams(location.search)) {
    const error = engine.applyOption(name, value);
    if (error) addressErrors.push(error);
  }
  function showAddressErrors() {
    if (addressErrors.length > 0) showNotice(`${tr(ui.badAddress)}\n${addressErrors.join("\n")}`);
  }

  // ---- Start ----------------------------------------------------------------------------------
  translatePage();
  layOut();
  window.addEventListener("resize", layOut);
  // What the tests and a curious reader can reach from the console.
  window.quorvel = { engine, state: () => engine.state(), failNextBrush: Q.failNextBrush, ready: true };
  document.body.dataset.ready = "true";

  if ("serviceWorker" in navigator && location.protocol !== "file:") {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
})();
