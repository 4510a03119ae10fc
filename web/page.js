// The page: runs one of the two programs at a time and shows it.
//
// Each program is one script (zorvan2.js, zorvan.js) holding its WebAssembly and its data files;
// loading it defines a factory that makes a fresh instance of the program and starts its main.
// A run of a program is one instance with one ProgramRun as its `host`: the program's waits call
// the host (waitForKey, sleep, yieldTurn) and stay suspended until the host wakes them, and its
// Ctrl-C calls `interrupted` (services/web/web_host.h tells the C++ side of it). The page
// itself never blocks: it takes keys, repaints once per display frame from the program's memory,
// and places the canvases.
//
//   the text console   80 x 25 cells drawn on #console from the console model, in the 16 colours
//                      of the palette, code page 852 shown through the program's own table;
//   the surface        #surface holds the graphics surface pixel for pixel: at each repaint the
//                      program converts what changed through the palette and names the
//                      rectangles, and only those are put onto the canvas. CSS scales it to
//                      fit the stage where the program's placement rule (the desktop window's)
//                      puts it: crisp at a whole multiple, smoothed when shrunk.
//
// Ctrl-C ends the program at once, as on the desktop: the keydown goes to the program like any
// key, and the program's interrupt calls back `interrupted`; its waits are never answered again,
// the instance is dropped, and the chooser comes back with a notice.
//
// The page speaks one language at a time, and so do the programs it starts (see "Languages").
'use strict';

(function () {
  const FACTORIES = { zorvan2: 'create_zorvan2', zorvan: 'create_zorvan' };
  const COLUMNS = 80, ROWS = 25;
  const FONT_FAMILY = '"DejaVu Sans Mono", "Liberation Mono", Consolas, "Courier New", monospace';
  const CURSOR_BLINK_MS = 530;

  const stage = document.getElementById('stage');
  const chooser = document.getElementById('chooser');
  const notice = document.getElementById('notice');
  const consoleCanvas = document.getElementById('console');
  const surfaceCanvas = document.getElementById('surface');
  const endedBar = document.getElementById('ended');
  const endedText = document.getElementById('ended-text');
  const languageSwitch = document.getElementById('language');

  // ------------------------------------------------------------------------------------------
  // Languages: the page's texts, and the language the programs speak.
  //
  // languages.js (written by the build) holds web/page.pot, whose originals are the Hungarian
  // texts, and the page catalogue of every other language of the data folder. The language is
  // ?lang=xx when the page has it, else the first of the browser's languages that it has, else
  // Hungarian; the switch in the bar changes it, and the address with it, so that a reload keeps
  // it. A program starts with "--lang <language>" and speaks the page's language; a change of
  // language starts the program on the stage again, in the new one.

  const ORIGINAL_LANGUAGE = 'hu';
  const LANGUAGES = window.zorvanLanguages || { original: '', catalogues: {} };

  // The entries of a PO catalogue by id (msgctxt): { original, translation, fuzzy }. The
  // programs read the same format (services/po_file.h); an entry without an id is left out.
  function readCatalogue(text) {
    const entries = {};
    let entry = null, field = null, fuzzy = false;
    const close = () => {
      if (entry && entry.id) entries[entry.id] = entry;
      entry = null;
      field = null;
    };
    const unquote = (quoted) => {
      try {
        return JSON.parse(quoted);  // the format's escapes are JSON's
      } catch (error) {
        return '';
      }
    };
    for (const raw of text.split(/\r?\n/)) {
      const line = raw.trim();
      const keyword = /^(msgctxt|msgid|msgstr)\s+(".*")$/.exec(line);
      if (line === '' || line.startsWith('#')) {
        if (entry && entry.translation !== undefined) close();
        if (/^#,.*\bfuzzy\b/.test(line)) fuzzy = true;
      } else if (keyword) {
        if (keyword[1] !== 'msgstr' && entry && entry.translation !== undefined) close();
        if (!entry) {
          entry = { id: '', original: '', translation: undefined, fuzzy };
          fuzzy = false;
        }
        field = { msgctxt: 'id', msgid: 'original', msgstr: 'translation' }[keyword[1]];
        entry[field] = unquote(keyword[2]);
      } else if (line.startsWith('"') && entry && field) {
        entry[field] += unquote(line);
      }
    }
    close();
    return entries;
  }

  const originals = readCatalogue(LANGUAGES.original);
  const catalogues = {};
  for (const [code, text] of Object.entries(LANGUAGES.catalogues)) {
    catalogues[code] = readCatalogue(text);
  }
  const LANGUAGE_CODES = [ORIGINAL_LANGUAGE, ...Object.keys(catalogues)];

  function originalText(id) { return originals[id] ? originals[id].original : id; }

  // The translation of a text in `code`'s catalogue, or null where it has no sound one (none,
  // fuzzy, empty, or of an older original), as the programs judge it.
  function translation(id, code) {
    const entry = (catalogues[code] || {})[id];
    const sound = entry && !entry.fuzzy && entry.translation && entry.original === originalText(id);
    return sound ? entry.translation : null;
  }

  // A text in the chosen language with its placeholders filled in; the Hungarian original where
  // there is no translation.
  function pageText(id, values = {}) {
    return (translation(id, language) || originalText(id))
      .replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
  }

  // The page's language that a language tag stands for, or null: "en-GB" is en_GB if the page
  // has it, else en.
  function languageOf(tag) {
    const parts = String(tag || '').split(/[-_]/);
    const primary = parts[0].toLowerCase();
    const candidates = parts.length > 1 ? [primary + '_' + parts[1].toUpperCase(), primary]
                                        : [primary];
    for (const code of candidates) {
      if (LANGUAGE_CODES.includes(code)) return code;
    }
    return null;
  }

  function chooseLanguage() {
    const asked = new URLSearchParams(location.search).get('lang');
    for (const tag of [asked, ...(navigator.languages || [navigator.language])]) {
      const code = languageOf(tag);
      if (code) return code;
    }
    return ORIGINAL_LANGUAGE;
  }

  let language = chooseLanguage();
  let noticeShown = null;  // what the chooser's notice says: { id, program }, or null

  function showNotice(shown) {
    noticeShown = shown;
    notice.textContent = shown ? pageText(shown.id, { program: shown.program }) : '';
  }

  // Every text of the page in the chosen language.
  function showTexts() {
    document.documentElement.lang = language.replace('_', '-');
    for (const element of document.querySelectorAll('[data-text]')) {
      element.textContent = pageText(element.dataset.text);
    }
    for (const element of document.querySelectorAll('[data-label]')) {
      element.setAttribute('aria-label', pageText(element.dataset.label));
    }
    languageSwitch.value = language;
    showNotice(noticeShown);
  }

  // The switch offers each language by its own name (its code when its catalogue has none).
  for (const code of LANGUAGE_CODES) {
    const option = document.createElement('option');
    option.value = code;
    const name = code === ORIGINAL_LANGUAGE ? originalText('page.language_name')
                                            : translation('page.language_name', code);
    option.textContent = name || code;
    languageSwitch.appendChild(option);
  }
  languageSwitch.addEventListener('change', () => {
    language = languageSwitch.value;
    const address = new URL(location.href);
    address.searchParams.set('lang', language);
    try {
      history.replaceState(null, '', address.href);
    } catch (error) {
      // Some browsers keep the address of a page opened from a file; the switch works still.
    }
    showTexts();
    languageSwitch.blur();
    stage.focus();
    if (current) startProgram(current.name);
  });
  showTexts();

  // Zero-delay continuations through a message channel: unlike timers they are never clamped,
  // and the browser still renders and delivers input between two of them.
  const continuations = [];
  const channel = new MessageChannel();
  channel.port1.onmessage = () => { const next = continuations.shift(); if (next) next(); };
  function soon(callback) { continuations.push(callback); channel.port2.postMessage(0); }

  // ------------------------------------------------------------------------------------------
  // One run of a program: the host object its module calls.

  class ProgramRun {
    constructor(name) {
      this.name = name;
      this.module = null;         // the instance (its exports appear when it has loaded)
      this.ready = false;
      this.state = 'loading';     // loading, running, key-wait, timed-key-wait, sleep, yield, ended
      this.ended = false;
      this.exitCode = null;
      this.message = '';
      this.pendingWake = null;    // the key wait's wake-up
      this.timer = 0;             // the sleep's timer, or the timed key wait's
      this.keyDownAt = 0;         // performance.now() of the last key given to the program
      this.keyWaitAt = 0;         // ... and of the last time it began to wait for a key
      this.surfaceShown = false;
      this.surfaceWidth = 0;
      this.surfaceHeight = 0;
    }

    // The program's waits. A key wait ends with a key, or after `timeoutMs` when that is not
    // negative, whichever comes first.
    waitForKey(timeoutMs, wakeUp) {
      this.state = timeoutMs < 0 ? 'key-wait' : 'timed-key-wait';
      this.pendingWake = wakeUp;
      this.keyWaitAt = performance.now();
      if (timeoutMs < 0) return;
      this.timer = setTimeout(() => {
        this.pendingWake = null;
        this.resume(wakeUp);
      }, timeoutMs);
    }
    sleep(milliseconds, wakeUp) {
      this.state = 'sleep';
      this.timer = setTimeout(() => this.resume(wakeUp), milliseconds);
    }
    yieldTurn(wakeUp) { this.state = 'yield'; soon(() => this.resume(wakeUp)); }
    resume(wakeUp) {
      if (this.ended) return;  // an ended program is never woken again
      this.state = 'running';
      wakeUp();
    }

    // The page's free area, in CSS pixels: the surface's size at the first opening.
    freeArea() { return { width: stage.clientWidth, height: stage.clientHeight }; }
    showSurface(width, height) {
      this.surfaceShown = true;
      this.surfaceWidth = width;
      this.surfaceHeight = height;
      surfaceCanvas.width = width;
      surfaceCanvas.height = height;
      surfaceCanvas.getContext('2d').clearRect(0, 0, width, height);
      showScreen();
    }
    hideSurface() { this.surfaceShown = false; showScreen(); }
    // Ctrl-C, from the program's interrupt while the page hands it the keydown.
    interrupted() { if (current === this) interruptProgram(); }
    programEnded(exitCode, message) {
      this.ended = true;
      this.state = 'ended';
      this.exitCode = exitCode;
      this.message = message;
      soon(() => onProgramEnded(this));
    }

    // A key for the program: wakes its key wait, if it waits for one.
    keyArrived() {
      this.keyDownAt = performance.now();
      const wake = this.pendingWake;
      if (wake === null) return;
      this.pendingWake = null;
      clearTimeout(this.timer);
      soon(() => this.resume(wake));
    }

    stop() {
      this.ended = true;
      this.state = 'ended';
      this.pendingWake = null;
      clearTimeout(this.timer);
    }
  }

  let current = null;          // the ProgramRun on the stage, or null (the chooser)
  const loadedScripts = {};

  function loadScript(name) {
    if (!loadedScripts[name]) {
      loadedScripts[name] = new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = name + '.js';
        script.onload = resolve;
        script.onerror = () => reject(new Error('cannot load ' + script.src));
        document.head.appendChild(script);
      });
    }
    return loadedScripts[name];
  }

  async function startProgram(name) {
    if (current) current.stop();
    const run = new ProgramRun(name);
    current = run;
    showNotice(null);
    endedBar.hidden = true;
    markCurrent(name);
    lastCells = null;
    showScreen();
    await loadScript(name);
    if (current !== run) return run;
    const module = { host: run, arguments: ['--lang', language], print: (text) => console.log(text),
                     printErr: (text) => console.warn(text) };
    run.module = module;
    module.onRuntimeInitialized = () => { run.ready = true; run.state = 'running'; };
    await window[FACTORIES[name]](module);
    return run;
  }

  function onProgramEnded(run) {
    if (current !== run) return;
    const message = run.message ? ': ' + run.message : '';
    endedText.textContent = run.exitCode === 0
      ? pageText('page.ended', { program: run.name })
      : pageText('page.stopped', { program: run.name, code: run.exitCode }) + message;
    endedBar.hidden = false;
    layout();
  }

  // Ctrl-C: the program ends at once, and the chooser comes back.
  function interruptProgram() {
    const run = current;
    run.stop();
    current = null;
    showNotice({ id: 'page.interrupted', program: run.name });
    markCurrent(null);
    showScreen();
  }

  function backToChooser() {
    if (current) current.stop();
    current = null;
    showNotice(null);
    markCurrent(null);
    showScreen();
  }

  function markCurrent(name) {
    for (const button of document.querySelectorAll('#switch button')) {
      button.classList.toggle('current', button.dataset.program === name);
    }
  }

  // ------------------------------------------------------------------------------------------
  // Keys

  const encoder = new TextEncoder();

  // Hands a keydown event to the program; true when the program took it. The key and code go
  // into the program's own buffers: a program that waits has its stack in use, so nothing is
  // allocated on it.
  function keyDown(module, event) {
    const size = module._zorvan_key_text_size();
    [event.key || '', event.code || ''].forEach((text, index) => {
      const start = module._zorvan_key_text(index);
      const { written } = encoder.encodeInto(text, module.HEAPU8.subarray(start, start + size - 1));
      module.HEAPU8[start + written] = 0;
    });
    const altGraph = Boolean(event.getModifierState && event.getModifierState('AltGraph'));
    const { shiftKey, ctrlKey, altKey, metaKey } = event;
    return module._zorvan_key_down(shiftKey, ctrlKey, altKey, metaKey, altGraph) !== 0;
  }

  // A key the program takes is kept from the browser; Ctrl-C has ended the run by then.
  window.addEventListener('keydown', (event) => {
    const run = current;
    if (!run || !run.ready || run.ended || event.isComposing) return;
    if (!keyDown(run.module, event)) return;
    event.preventDefault();
    if (!run.ended) run.keyArrived();
  });

  for (const button of document.querySelectorAll('button[data-program]')) {
    button.addEventListener('click', () => { button.blur(); stage.focus(); startProgram(button.dataset.program); });
  }
  document.getElementById('again').addEventListener('click', () => {
    if (current) startProgram(current.name);
    stage.focus();
  });
  document.getElementById('back').addEventListener('click', backToChooser);

  // ------------------------------------------------------------------------------------------
  // Layout: the chooser, or the console, or the surface; each canvas centred and fitted.

  let cell = { width: 8, height: 16, font: '' };

  function showScreen() {
    const run = current;
    chooser.hidden = run !== null;
    const surface = run !== null && run.surfaceShown;
    surfaceCanvas.hidden = !surface;
    consoleCanvas.hidden = run === null || surface;
    if (!consoleCanvas.hidden) lastCells = null;
    layout();
  }

  function freeHeight() { return stage.clientHeight - (endedBar.hidden ? 0 : endedBar.offsetHeight); }

  // The largest font whose 80 x 25 cells fit; the cell is the font's advance by 1.25 em.
  function fitConsole() {
    const context = consoleCanvas.getContext('2d');
    const width = stage.clientWidth, height = freeHeight();
    let size = 40;
    for (; size > 8; --size) {
      context.font = size + 'px ' + FONT_FAMILY;
      const cellWidth = Math.ceil(context.measureText('M').width);
      const cellHeight = Math.ceil(size * 1.25);
      if (cellWidth * COLUMNS <= width && cellHeight * ROWS <= height) break;
    }
    context.font = size + 'px ' + FONT_FAMILY;
    cell = { width: Math.ceil(context.measureText('M').width), height: Math.ceil(size * 1.25),
             font: size + 'px ' + FONT_FAMILY };
    const ratio = window.devicePixelRatio || 1;
    const cssWidth = cell.width * COLUMNS, cssHeight = cell.height * ROWS;
    consoleCanvas.width = Math.round(cssWidth * ratio);
    consoleCanvas.height = Math.round(cssHeight * ratio);
    consoleCanvas.style.width = cssWidth + 'px';
    consoleCanvas.style.height = cssHeight + 'px';
    consoleCanvas.style.left = Math.max(0, Math.floor((width - cssWidth) / 2)) + 'px';
    consoleCanvas.style.top = Math.max(0, Math.floor((height - cssHeight) / 2)) + 'px';
    lastCells = null;
  }

  // Placed by the program's rule, as the desktop places its picture in the window: at the largest
  // whole multiple that fits, crisp, or shrunk to fit with its proportions kept, smoothed.
  function fitSurface() {
    const run = current;
    if (!run || !run.surfaceShown) return;
    const module = run.module;
    const place = new Int32Array(module.HEAPU8.buffer, module._zorvan_place_picture(
      run.surfaceWidth, run.surfaceHeight, stage.clientWidth, freeHeight()), 5);
    surfaceCanvas.style.width = place[2] + 'px';
    surfaceCanvas.style.height = place[3] + 'px';
    surfaceCanvas.style.left = place[0] + 'px';
    surfaceCanvas.style.top = place[1] + 'px';
    surfaceCanvas.classList.toggle('crisp', place[4] !== 0);
  }

  function layout() {
    if (!consoleCanvas.hidden) fitConsole();
    if (!surfaceCanvas.hidden) fitSurface();
  }
  window.addEventListener('resize', layout);

  // ------------------------------------------------------------------------------------------
  // Repaint, once per display frame, of what changed.

  let lastCells = null;        // the cells last drawn (null: draw all)
  let lastVersion = -1;
  let lastCursor = '';
  let palette = null;
  let unicode = null;

  function tables(module) {
    if (!palette) {
      palette = [];
      for (let i = 0; i < 16; ++i) {
        palette.push('#' + (module._zorvan_palette_rgb(i) >>> 0).toString(16).padStart(6, '0'));
      }
      unicode = [];
      for (let byte = 0; byte < 256; ++byte) unicode.push(String.fromCharCode(module._zorvan_cp852_unicode(byte)));
    }
  }

  // Shades and blocks fill their whole cell, as on the PC screen, instead of a font's glyph.
  const SHADES = { 176: 0.25, 177: 0.5, 178: 0.75 };
  const BLOCKS = { 219: [0, 0, 1, 1], 220: [0, 0.5, 1, 0.5], 221: [0, 0, 0.5, 1], 222: [0.5, 0, 0.5, 1],
                   223: [0, 0, 1, 0.5] };

  function drawCell(context, column, row, character, attribute) {
    const x = column * cell.width, y = row * cell.height;
    context.globalAlpha = 1;
    context.fillStyle = palette[(attribute >> 4) & 7];
    context.fillRect(x, y, cell.width, cell.height);
    context.fillStyle = palette[attribute & 15];
    if (character in SHADES) {
      context.globalAlpha = SHADES[character];
      context.fillRect(x, y, cell.width, cell.height);
      context.globalAlpha = 1;
    } else if (character in BLOCKS) {
      const [left, top, width, height] = BLOCKS[character];
      context.fillRect(x + left * cell.width, y + top * cell.height, width * cell.width, height * cell.height);
    } else if (character !== 32 && character !== 0) {
      context.fillText(unicode[character], x, y + cell.height / 2);
    }
  }

  function paintConsole(run) {
    const module = run.module;
    tables(module);
    const version = module._zorvan_console_version();
    const blinkOn = Math.floor(performance.now() / CURSOR_BLINK_MS) % 2 === 0;
    const cursorColumn = module._zorvan_cursor_column() - 1, cursorRow = module._zorvan_cursor_row() - 1;
    const cursor = blinkOn && !run.ended ? cursorColumn + ',' + cursorRow : '';
    if (lastCells && version === lastVersion && cursor === lastCursor) return;
    const cells = module.HEAPU8.subarray(module._zorvan_console_cells(), module._zorvan_console_cells() + COLUMNS * ROWS * 2);
    const context = consoleCanvas.getContext('2d');
    const ratio = consoleCanvas.width / (cell.width * COLUMNS);
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.font = cell.font;
    context.textBaseline = 'middle';
    const previousCursor = lastCursor.split(',').map(Number);
    for (let row = 0; row < ROWS; ++row) {
      for (let column = 0; column < COLUMNS; ++column) {
        const i = (row * COLUMNS + column) * 2;
        const underCursor = lastCursor !== '' && previousCursor[0] === column && previousCursor[1] === row;
        if (lastCells && !underCursor && lastCells[i] === cells[i] && lastCells[i + 1] === cells[i + 1]) continue;
        drawCell(context, column, row, cells[i], cells[i + 1]);
      }
    }
    if (cursor !== '') {
      const attribute = cells[(cursorRow * COLUMNS + cursorColumn) * 2 + 1];
      context.fillStyle = palette[attribute & 15];
      const thickness = Math.max(2, Math.round(cell.height / 8));
      context.fillRect(cursorColumn * cell.width, (cursorRow + 1) * cell.height - thickness, cell.width, thickness);
    }
    lastCells = cells.slice();
    lastVersion = version;
    lastCursor = cursor;
  }

  // Puts onto the canvas the rectangles of the surface that changed since the last repaint (all
  // of it after an opening), from the program's RGBA copy of the surface.
  function paintSurface(run) {
    const module = run.module;
    const width = module._zorvan_picture_width(), height = module._zorvan_picture_height();
    if (width !== surfaceCanvas.width || height !== surfaceCanvas.height) return;
    const count = module._zorvan_picture_update();
    if (count === 0) return;
    const buffer = module.HEAPU8.buffer;  // after the update, which may have grown the memory
    const image = new ImageData(new Uint8ClampedArray(buffer, module._zorvan_picture_rgba(), width * height * 4),
                                width, height);
    const boxes = new Int32Array(buffer, module._zorvan_picture_boxes(), count * 4);
    const context = surfaceCanvas.getContext('2d');
    for (let i = 0; i < count * 4; i += 4) context.putImageData(image, 0, 0, boxes[i], boxes[i + 1], boxes[i + 2], boxes[i + 3]);
  }

  function paint() {
    requestAnimationFrame(paint);
    const run = current;
    if (!run || !run.ready) return;
    if (!consoleCanvas.hidden) paintConsole(run);
    if (!surfaceCanvas.hidden) paintSurface(run);
  }
  requestAnimationFrame(paint);

  // ------------------------------------------------------------------------------------------
  // For the page's tests (tests/web/) and the curious: the state of the run on the stage.

  window.zorvanPage = {
    start: (name) => startProgram(name).then(() => undefined),
    run: () => current && {
      name: current.name, state: current.state, ended: current.ended, exitCode: current.exitCode,
      message: current.message, surfaceShown: current.surfaceShown,
      surfaceWidth: current.surfaceWidth, surfaceHeight: current.surfaceHeight,
      turns: current.ready ? current.module._zorvan_turn_count() : 0,
      allocations: current.ready ? current.module._zorvan_allocation_count() : 0,
      keyPending: current.ready ? current.module._zorvan_key_pending() !== 0 : false,
      keyDownAt: current.keyDownAt, keyWaitAt: current.keyWaitAt,
    },
    notice: () => notice.textContent,
    language: () => language,
    // The console as 25 lines of text (for messages and logs).
    consoleText: () => {
      const cells = window.zorvanPage.consoleCells();
      tables(current.module);
      let text = '';
      for (let i = 0; i < cells.length; i += 2) text += unicode[cells[i]] + ((i / 2) % COLUMNS === COLUMNS - 1 ? '\n' : '');
      return text;
    },
    // The console model: 4000 bytes, (character, attribute) per cell, row by row.
    consoleCells: () => {
      const module = current.module, start = module._zorvan_console_cells();
      return module.HEAPU8.slice(start, start + COLUMNS * ROWS * 2);
    },
    // The surface's palette indices, or null when it is closed.
    surface: () => {
      const module = current.module, pointer = module._zorvan_surface_indices();
      if (pointer === 0) return null;
      const width = module._zorvan_surface_width(), height = module._zorvan_surface_height();
      return { width, height, indices: module.HEAPU8.slice(pointer, pointer + width * height) };
    },
    // The surface's 256 palette colours, 0xRRGGBB each.
    palette: () => Array.from({ length: 256 }, (_, index) => current.module._zorvan_palette_rgb(index) >>> 0),
    // What the surface canvas holds, RGBA.
    canvasPixels: () => surfaceCanvas.getContext('2d').getImageData(0, 0, surfaceCanvas.width, surfaceCanvas.height).data,
    canvasBox: () => {
      const box = surfaceCanvas.getBoundingClientRect();
      return { width: box.width, height: box.height, intrinsicWidth: surfaceCanvas.width,
               intrinsicHeight: surfaceCanvas.height, hidden: surfaceCanvas.hidden };
    },
  };
})();
