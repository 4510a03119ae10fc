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
//   the text console   #console shows the program's own picture of the 80 x 25 cells, put onto
//                      the canvas where it changed, with the text of its rows over it for
//                      selecting, copying and reading aloud (console_view.js);
//   the surface        #surface holds the graphics surface pixel for pixel: at each repaint the
//                      program converts what changed through the palette and names the
//                      rectangles, and only those are put onto the canvas. CSS scales it to
//                      fit the stage where the program's placement rule (the desktop window's)
//                      puts it: crisp at a whole multiple, smoothed when shrunk. When the
//                      program closes it for the summary, the page keeps the last picture,
//                      dimmed, beside the console until another program starts.
//
// Around them (the other scripts, loaded before this one): the layout of the stage (layout.js),
// the console's picture and text (console_view.js), the figures panel (figures.js), the on-screen
// controls (controls.js), the address's parameters (link.js) and the page's texts in the chosen
// language (texts.js). The controls hand their keys to the same entry as the keyboard's keydown.
//
// Ctrl-C ends the program at once, as on the desktop: the keydown goes to the program like any
// key, and the program's interrupt calls back `interrupted`; its waits are never answered again,
// the instance is dropped, and the chooser comes back with a notice.
//
// The page speaks one language at a time, and so do the programs it starts (see "Languages").
'use strict';

(function () {
  const FACTORIES = { zorvan2: 'create_zorvan2', zorvan: 'create_zorvan' };

  const stage = document.getElementById('stage');
  const chooser = document.getElementById('chooser');
  const notice = document.getElementById('notice');
  const consoleCanvas = document.getElementById('console');
  const consoleText = document.getElementById('console-text');
  const consoleView = window.ZorvanConsoleView.create(consoleCanvas, consoleText,
                                                      document.getElementById('console-news'));
  const surfaceCanvas = document.getElementById('surface');
  const endedBar = document.getElementById('ended');
  const endedText = document.getElementById('ended-text');
  const languageSwitch = document.getElementById('language');
  const zoomChoice = document.getElementById('zoom');
  const controlsToggle = document.getElementById('controls-toggle');
  const seedField = document.getElementById('seed');
  const seedProblem = document.getElementById('seed-problem');
  const saveButtons = document.getElementById('save');
  const Layout = window.ZorvanLayout;
  const Texts = window.ZorvanTexts;
  const figuresPanel = window.ZorvanFigures.create(document.getElementById('figure-list'));
  const controls = window.ZorvanControls.create(document.getElementById('controls'), {
    sendKey: (key, code) => sendKey(key, code),
    promptText: () => promptText(),
    paceForKey: (key) => (current && current.ready
      ? current.module._zorvan_pace_for_key(key.charCodeAt(0)) : null),
    consoleCanvas: consoleText,
  });

  // ------------------------------------------------------------------------------------------
  // Languages: the language the page and the programs speak.
  //
  // The page's texts come from its catalogues (texts.js). The switch in the bar changes the
  // language, and the address's `lang` with it (link.js), so that a reload keeps it. A program
  // starts with "--lang <language>" and speaks the page's language; a change of language starts
  // the program on the stage again, in the new one.

  let noticeShown = null;  // what the chooser's notice says: { id, program }, or null

  function showNotice(shown) {
    noticeShown = shown;
    notice.textContent = shown ? Texts.text(shown.id, { program: shown.program }) : '';
  }

  // The switch offers each language by its own name.
  for (const code of Texts.languages()) {
    languageSwitch.add(new Option(Texts.nameOf(code), code));
  }
  languageSwitch.value = Texts.language();
  Texts.onChange(() => showNotice(noticeShown));
  languageSwitch.addEventListener('change', () => {
    Texts.setLanguage(languageSwitch.value);
    window.ZorvanLink.write({ lang: Texts.language() });
    languageSwitch.blur();
    stage.focus();
    if (current) startProgram(current.name);
  });

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
      this.pictureKept = false;   // the surface closed, its last picture kept beside the console
      this.measuring = false;     // the surface's first opening measures the run's free area
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

    // The page's free area in CSS pixels, as the run's layout leaves it, and the zoom chosen:
    // the surface's size at the first opening.
    freeArea() {
      this.measuring = true;
      Layout.setMode('run', controls.update(this, null));
      figuresPanel.update(this.module, true);
      const area = Layout.screenBox();
      return { width: area.width, height: area.height, zoom: Number(zoomChoice.value) };
    }
    showSurface(width, height) {
      this.surfaceShown = true;
      this.measuring = false;
      this.pictureKept = false;
      this.surfaceWidth = width;
      this.surfaceHeight = height;
      surfaceCanvas.width = width;
      surfaceCanvas.height = height;
      surfaceCanvas.getContext('2d').clearRect(0, 0, width, height);
      showScreen();
    }
    // The picture as the program left it stays on the canvas, kept beside the console.
    hideSurface() {
      paintSurface(this);
      this.surfaceShown = false;
      this.pictureKept = true;
      showScreen();
    }
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
    window.ZorvanLink.write({ program: name });
    figuresPanel.forget();
    consoleView.attach(null);
    showScreen();
    await loadScript(name);
    if (current !== run) return run;
    const module = { host: run, arguments: ['--lang', Texts.language(), '--seed', String(seed)],
                     print: (text) => console.log(text), printErr: (text) => console.warn(text) };
    run.module = module;
    module.onRuntimeInitialized = () => {
      run.ready = true;
      run.state = 'running';
      if (current !== run) return;
      consoleView.attach(module);
      layout();
    };
    await window[FACTORIES[name]](module);
    return run;
  }

  function onProgramEnded(run) {
    if (current !== run) return;
    const message = run.message ? ': ' + run.message : '';
    endedText.textContent = run.exitCode === 0
      ? Texts.text('page.ended', { program: run.name })
      : Texts.text('page.stopped', { program: run.name, code: run.exitCode }) + message;
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
    window.ZorvanLink.write({ program: null });
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

  // A key the program takes is kept from the browser; Ctrl-C has ended the run by then. The
  // number field of the controls takes the keys that edit it, and sends them on itself.
  window.addEventListener('keydown', (event) => {
    const run = current;
    if (!run || !run.ready || run.ended || event.isComposing || controls.ownsKey(event)) return;
    if (seedFieldOwnsKey(event)) return;
    if (!keyDown(run.module, event)) return;
    event.preventDefault();
    if (!run.ended) run.keyArrived();
  });

  // A key from the page's controls, through the keyboard's entry: `key` and `code` as a keydown
  // event gives them, with no modifier held. True when the program took it.
  function sendKey(key, code) {
    const run = current;
    if (!run || !run.ready || run.ended) return false;
    const event = { key, code, shiftKey: false, ctrlKey: false, altKey: false, metaKey: false };
    if (!keyDown(run.module, event)) return false;
    if (!run.ended) run.keyArrived();
    return true;
  }

  for (const button of document.querySelectorAll('button[data-program]')) {
    button.addEventListener('click', () => { button.blur(); stage.focus(); startProgram(button.dataset.program); });
  }
  document.getElementById('again').addEventListener('click', () => {
    if (current) startProgram(current.name);
    stage.focus();
  });
  document.getElementById('back').addEventListener('click', backToChooser);

  // ------------------------------------------------------------------------------------------
  // Layout: the chooser, or the console, or the surface, or the console with the last picture
  // beside it (layout.js); each canvas centred and fitted in its place.

  // The stage's mode for the run on it (layout.js).
  function modeOf(run) {
    if (run === null) return 'chooser';
    if (run.surfaceShown) return 'run';
    return run.pictureKept ? 'summary' : 'text';
  }

  function showScreen() {
    const run = current;
    const mode = modeOf(run);
    Layout.setMode(mode, controls.update(run, figuresPanel.figures()));
    chooser.hidden = run !== null;
    surfaceCanvas.hidden = mode !== 'run' && mode !== 'summary';
    surfaceCanvas.classList.toggle('kept', mode === 'summary');
    saveButtons.hidden = mode !== 'summary' || keptFile(current, 'picture') === null;
    consoleCanvas.hidden = consoleText.hidden = mode !== 'text' && mode !== 'summary';
    layout();
  }

  // The program's console picture in the largest font that fits the screen, crisp, centred
  // (console_view.js).
  function fitConsole() {
    if (current && current.ready) consoleView.fit(Layout.screenBox(), window.devicePixelRatio || 1);
  }

  // Placed by the program's rule, as the desktop places its picture in the window: at the largest
  // whole multiple that fits, crisp, or shrunk to fit with its proportions kept, smoothed. The
  // run's picture fills the screen; the kept one, its slot in the dock.
  function fitSurface() {
    const run = current;
    if (!run || !(run.surfaceShown || run.pictureKept)) return;
    const module = run.module;
    const area = run.surfaceShown ? Layout.screenBox() : Layout.slotBox();
    const place = new Int32Array(module.HEAPU8.buffer, module._zorvan_place_picture(
      run.surfaceWidth, run.surfaceHeight, area.width, area.height), 5);
    surfaceCanvas.style.width = place[2] + 'px';
    surfaceCanvas.style.height = place[3] + 'px';
    surfaceCanvas.style.left = area.left + place[0] + 'px';
    surfaceCanvas.style.top = area.top + place[1] + 'px';
    surfaceCanvas.classList.toggle('crisp', place[4] !== 0);
  }

  function layout() {
    if (!consoleCanvas.hidden) fitConsole();
    if (!surfaceCanvas.hidden) fitSurface();
  }
  window.addEventListener('resize', layout);
  Layout.watch(layout);

  // ------------------------------------------------------------------------------------------
  // Repaint, once per display frame, of what changed.

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
    if (!consoleCanvas.hidden) {
      const waiting = run.state === 'key-wait' || run.state === 'sleep' || run.ended;
      consoleView.paint({ cursorShown: !run.ended, waiting });
    }
    if (run.surfaceShown) paintSurface(run);
    updatePanels(run);
  }
  requestAnimationFrame(paint);

  // ------------------------------------------------------------------------------------------
  // Beside the screens: the figures panel and the controls (figures.js, controls.js).

  let controlsShown = false;

  // After the repaint: the figures while a run is on or kept, at once when the program waits,
  // and the controls for what it waits for; the dock comes or goes with them.
  function updatePanels(run) {
    const mode = modeOf(run);
    const waiting = run.state === 'key-wait' || run.state === 'sleep' || run.ended;
    if (mode === 'run' || mode === 'summary') figuresPanel.update(run.module, waiting);
    const shown = controls.update(run, figuresPanel.figures());
    if (shown === controlsShown) return;
    controlsShown = shown;
    Layout.setMode(mode, shown);
  }

  // The prompt being answered (console_view.js).
  function promptText() { return consoleView.promptText(); }

  // The controls: on from the start on a touchscreen, and whenever the bar's toggle asks or a
  // finger touches the page.
  function setControls(on) {
    controls.setEnabled(on);
    controlsToggle.setAttribute('aria-pressed', String(on));
    showScreen();
  }
  controlsToggle.addEventListener('click', () => {
    setControls(!controls.enabled());
    controlsToggle.blur();
  });
  window.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'touch' && !controls.enabled()) setControls(true);
  });
  setControls(Layout.touchScreen());

  // ------------------------------------------------------------------------------------------
  // The seed: the programs start with "--seed <seed>". The field takes a whole number from 0 to
  // 4294967295 (empty is 0); a new seed goes into the address (link.js) and starts the program
  // on the stage again, as a change of language does. Anything else is refused with a message,
  // and the seed in force stays.

  let seed = 0;

  // Puts `value` in force and into the field (empty for 0), with no message.
  function showSeed(value) {
    seed = value;
    seedField.value = value === 0 ? '' : String(value);
    setSeedProblem(false);
  }

  // Shows or hides the message that the field holds no seed, in the language chosen.
  function setSeedProblem(shown) {
    seedField.setAttribute('aria-invalid', String(shown));
    seedProblem.hidden = !shown;
    seedProblem.textContent = shown
      ? Texts.text('page.seed_invalid', { largest: window.ZorvanLink.LARGEST_SEED }) : '';
  }

  // True for a keydown the seed field edits itself: the program does not see it. Ctrl-C still
  // stops the program, and Escape leaves the field for the stage.
  function seedFieldOwnsKey(event) {
    return event.target === seedField && !event.ctrlKey && !event.altKey && !event.metaKey &&
           event.key !== 'Escape';
  }

  seedField.addEventListener('change', () => {
    const text = seedField.value.trim();
    const value = text === '' && !seedField.validity.badInput ? 0 : window.ZorvanLink.seedOf(text);
    if (value === null) {
      setSeedProblem(true);
      return;
    }
    showSeed(value);
    window.ZorvanLink.write({ seed: value === 0 ? null : value });
    seedField.blur();
    stage.focus();
    if (current) startProgram(current.name);
  });
  seedField.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    seedField.blur();
    stage.focus();
  });
  Texts.onChange(() => { if (!seedProblem.hidden) setSeedProblem(true); });

  // ------------------------------------------------------------------------------------------
  // Save picture and Save figures: the files the program kept when the run ended
  // (services/run_files.h), named as the desktop's --save names them, offered for download.

  // The kept file `which` ('picture' or 'figures') of `run`'s program, as bytes, or null.
  function keptFile(run, which) {
    if (!run || !run.ready) return null;
    const module = run.module, size = module['_zorvan_kept_' + which + '_size']();
    if (size === 0) return null;
    const start = module['_zorvan_kept_' + which]();
    return module.HEAPU8.slice(start, start + size);
  }

  // The name both kept files share, without extension.
  function keptName(run) {
    const heap = run.module.HEAPU8, start = run.module._zorvan_kept_name();
    let end = start;
    while (heap[end] !== 0) ++end;
    return new TextDecoder().decode(heap.subarray(start, end));
  }

  // Hands `bytes` to the browser as a download named `name`.
  function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);  // the download has taken it by then
  }

  // Downloads the kept file `which` under the run's name, when there is one.
  function saveKept(which, extension, type) {
    const bytes = keptFile(current, which);
    if (bytes !== null) download(bytes, keptName(current) + extension, type);
  }
  document.getElementById('save-picture').addEventListener('click',
    () => saveKept('picture', '.png', 'image/png'));
  document.getElementById('save-figures').addEventListener('click',
    () => saveKept('figures', '.csv', 'text/csv;charset=utf-8'));

  // ------------------------------------------------------------------------------------------
  // The address's parameters (link.js): the zoom now, the program once the page has loaded.

  zoomChoice.addEventListener('change', () => {
    window.ZorvanLink.write({ zoom: zoomChoice.value === '1' ? null : zoomChoice.value });
  });
  const linked = window.ZorvanLink.read();
  if (linked.zoom) {
    if (!zoomChoice.querySelector(`option[value="${linked.zoom}"]`)) {
      zoomChoice.add(new Option(linked.zoom + '\u00D7', linked.zoom));
    }
    zoomChoice.value = String(linked.zoom);
  }
  showSeed(linked.seed ?? 0);
  if (linked.program) startProgram(linked.program);

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
    // The files kept at the run's end, for the Save buttons: { name, picture, figures } (the
    // PNG's bytes as an array, the CSV as text), or null before the run has ended.
    keptFiles: () => {
      const picture = keptFile(current, 'picture'), figures = keptFile(current, 'figures');
      if (picture === null || figures === null) return null;
      return { name: keptName(current), picture: Array.from(picture),
               figures: new TextDecoder().decode(figures) };
    },
    seedProblem: () => (seedProblem.hidden ? null : seedProblem.textContent),
    notice: () => notice.textContent,
    language: () => Texts.language(),
    // The run's figures as the figures panel reads them (figures.js), or null.
    figures: () => (current && current.ready ? window.ZorvanFigures.read(current.module) : null),
    // The console as 25 lines of text (for messages and logs).
    consoleText: () => consoleView.text(),
    // The console model: 4000 bytes, (character, attribute) per cell, row by row.
    consoleCells: () => consoleView.cells(),
    // The text mirror's 25 rows, and what the live region last announced.
    consoleMirror: () => consoleView.mirrorRows(),
    consoleNews: () => consoleView.news(),
    // The console canvas: { width, height, rgba }.
    consolePixels: () => consoleView.pixels(),
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
    // Compares the console canvas with the program's whole console picture: the first pixel
    // that differs as "x,y", or null when they are equal.
    consoleRepaintDifference: () => consoleView.repaintDifference(),
    canvasBox: () => {
      const box = surfaceCanvas.getBoundingClientRect();
      return { width: box.width, height: box.height, intrinsicWidth: surfaceCanvas.width,
               intrinsicHeight: surfaceCanvas.height, hidden: surfaceCanvas.hidden };
    },
  };
})();
