// The web page against the desktop programs, in Debian's headless Chromium or Firefox
// (ZORVAN_BROWSER=firefox, browser.mjs).
//
//   node tests/web/page_test.mjs <site folder> <script_run program> <data folder> <exactness_digest program> <exactness_digest.js>
//
// Each session drives a program in the page with real key presses, or on a touchscreen with taps
// on the page's controls only, and takes checkpoints where the program waits: the console model,
// the surface's palette indices, what the surface canvas shows, the figures panel and the turns
// made. The keys it pressed or the controls sent, with the step at which each key that stopped a
// Normal or Quiet stretch was read, become a script for the native script_run, which replays
// them on the headless console and a headless surface of the page's surface size, in the page's
// language. Every checkpoint must then be the same, cell for cell and pixel for pixel (the page
// prompt's spinner aside: it turns with the clock), and the figures panel must show the native
// run's figures. At every checkpoint and page turn the console canvas must also equal a whole
// repaint of its cells.
import { test, before, after, afterEach } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { inflateSync } from 'node:zlib';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { serveFolder, launchBrowser, browserName } from './browser.mjs';

const [siteFolder, scriptRun, dataFolder, nativeDigest, webDigest, consoleShot] = process.argv.slice(2).map((path) => resolve(path));
assert.ok(consoleShot, 'usage: page_test.mjs <site> <script_run> <data> <exactness_digest> <exactness_digest.js> <console_shot>');

const COLUMNS = 80, ROWS = 25;
// Tests that need what only Chromium's protocol emulates here: a touchscreen (headless Firefox
// refuses synthesized touches over WebDriver BiDi) and a cut network.
const chromiumOnly = { skip: browserName !== 'chromium' && 'needs touch or network emulation' };
// Tests of the program's own work in WebAssembly (its figures, its allocations), which no
// browser changes: once, in Chromium.
const onceOnly = { skip: browserName !== 'chromium' && 'the program\'s own work: the same in every browser' };
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let server, browser;
const openPages = new Set();  // closed after each test, so a failed one leaves no program running
before(async () => {
  server = await serveFolder(siteFolder);
  browser = await launchBrowser();
});
afterEach(async () => {
  for (const page of openPages) await page.close();
  openPages.clear();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// One program in one page, and the script that replays it natively.
class Session {
  constructor(page, program, language) {
    this.page = page;
    this.program = program;
    this.language = language;
    this.script = [];
    this.checkpoints = [];
    this.errors = [];
    page.on('pageerror', (error) => this.errors.push(error.message));
  }

  // A page of `width` x `height` in `language` (?lang=); `touch`: a phone's or tablet's
  // touchscreen; `query`: the address's other parameters, else the program is started by the
  // page's test hook.
  static async open(program, width, height, { touch = false, query = null, language = 'hu' } = {}) {
    const page = await browser.newPage();
    openPages.add(page);
    await page.setViewport({ width, height, isMobile: touch, hasTouch: touch });
    const session = new Session(page, program, language);
    await page.goto(server.url + (query === null ? '?' : query + '&') + 'lang=' + language);
    if (query === null) await page.evaluate((name) => window.zorvanPage.start(name), program);
    await page.waitForFunction(() => window.zorvanPage.run(), { timeout: 20000 });
    await session.settle('sleep');
    return session;
  }

  run() { return this.page.evaluate(() => window.zorvanPage.run()); }

  // Waits until the program has taken every key and waits: for a key ('key-wait'), at the page
  // prompt ('sleep') or for good ('ended'); `states` is one of them or a list.
  async settle(states, timeoutMs = 20000) {
    const wanted = [].concat(states);
    const end = Date.now() + timeoutMs;
    for (;;) {
      const run = await this.run();
      if (run && !run.keyPending && wanted.includes(run.state)) return run;
      if (Date.now() > end) throw new Error(`${this.program}: no ${wanted} wait: ${JSON.stringify(run)}`);
      await sleep(20);
    }
  }

  // Presses one key: a character, or 'Enter'. The script gets its code page byte.
  async press(key) {
    const code = key === 'Enter' ? 13 : key.charCodeAt(0);
    this.script.push(`key c ${code}`);
    await this.page.keyboard.press(key);
  }

  async type(text, state) {
    for (const key of text) await this.press(key === '\r' ? 'Enter' : key);
    return this.settle(state);
  }

  // Taps a control of the page that sends the key with code page byte `code` (null: none).
  async tap(selector, code = null) {
    if (code !== null) this.script.push(`key c ${code}`);
    await this.page.tap(selector);
  }

  // Types `digits` with a phone's number pad into the number field (tapped first) and taps
  // Enter; '<' is the pad's delete key. The pad's keys reach the field as text input alone.
  async answer(digits) {
    await this.tap('#number');
    for (const digit of digits) {
      if (digit === '<') {
        this.script.push('key c 8');
        await this.page.evaluate(() => document.execCommand('delete'));
      } else {
        this.script.push(`key c ${digit.charCodeAt(0)}`);
        await this.page.keyboard.sendCharacter(digit);
      }
    }
    await this.tap('#controls [type=submit]', 13);
    return this.settle('key-wait');
  }

  // Starts a stretch of Normal or Quiet with `start`, lets it run for `milliseconds` and at least
  // until step `leastTurns`, stops it with L and notes the step that read L. `during` runs while
  // the stretch goes on.
  async stretch(start, milliseconds, during = async () => {}, leastTurns = 0) {
    await this.press(start);
    return this.stopStretch(milliseconds, during, leastTurns, () => this.page.keyboard.press('l'));
  }

  // The same with the controls: `start` is the run key of the button that starts the stretch.
  async tapStretch(start, milliseconds) {
    await this.tap(`[data-key="${start}"]`, start.charCodeAt(0));
    return this.stopStretch(milliseconds, async () => {}, 0, () => this.page.tap('[data-key="l"]'));
  }

  async stopStretch(milliseconds, during, leastTurns, stop) {
    await sleep(milliseconds / 2);
    await during();
    await sleep(milliseconds / 2);
    while ((await this.run()).turns < leastTurns) await sleep(100);
    await stop();
    const run = await this.settle('key-wait');
    this.script.push(`at ${run.turns} c ${'l'.charCodeAt(0)}`);
    return run;
  }

  // The console canvas after the next repaint equals a whole repaint of its cells.
  async assertConsoleRepainted(where) {
    await this.page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    const difference = await this.page.evaluate(() => (document.getElementById('console').hidden ? null
                                                        : window.zorvanPage.consoleRepaintDifference()));
    assert.equal(difference, null, `${this.program}, ${where}: the console canvas differs from a whole repaint at pixel`);
  }

  // Records what the page shows now, after the next repaint.
  async checkpoint(name) {
    await this.assertConsoleRepainted(name);
    const shot = await this.page.evaluate(() => {
      const base64 = (bytes) => {
        let text = '';
        for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        return btoa(text);
      };
      const run = window.zorvanPage.run();
      const surface = window.zorvanPage.surface();
      const box = window.zorvanPage.canvasBox();
      return {
        run,
        console: base64(window.zorvanPage.consoleCells()),
        text: window.zorvanPage.consoleText(),
        surface: surface && { width: surface.width, height: surface.height, indices: base64(surface.indices) },
        canvas: run.surfaceShown ? base64(new Uint8Array(window.zorvanPage.canvasPixels().buffer)) : null,
        consolePicture: document.getElementById('console').hidden ? null : (() => {
          const { width, height, rgba } = window.zorvanPage.consolePixels();
          const rgb = new Uint8Array(width * height * 3);
          for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) rgb.set(rgba.subarray(i, i + 3), j);
          return { width, height, rgb: base64(rgb) };
        })(),
        mirror: document.getElementById('console-text').hidden ? null : window.zorvanPage.consoleMirror(),
        box,
        figures: document.getElementById('figures').hidden ? null : Object.fromEntries(
          [...document.querySelectorAll('[data-figure]')]
            .map((e) => [e.dataset.figure, e.closest('.figure').hidden ? null : e.textContent])),
        modeNames: [0, 1, 2, 3].map((mode) => window.zorvanPage.modeText(mode)),
        notYet: window.zorvanPage.notYet,
      };
    });
    this.script.push(`check ${name}`);
    this.checkpoints.push({ name, ...shot });
    return shot;
  }

  // The size the page measured at the first opening of the surface.
  async surfaceSize() {
    const run = await this.run();
    return [run.surfaceWidth, run.surfaceHeight];
  }

  // Replays the script natively and compares every checkpoint.
  async compareWithNative() {
    assert.deepEqual(this.errors, [], 'errors in the page');
    const folder = mkdtempSync(join(tmpdir(), 'zorvan-native-'));
    try {
      writeFileSync(join(folder, 'script.txt'), this.script.join('\n') + '\n');
      const [width, height] = await this.surfaceSize();
      execFileSync(scriptRun, [this.program, String(width), String(height), dataFolder,
                               join(folder, 'script.txt'), join(folder, 'out'), this.language],
                   { stdio: 'inherit' });
      const palette = readFileSync(join(folder, 'out', 'palette.rgb'));
      for (const checkpoint of this.checkpoints) compareCheckpoint(checkpoint, join(folder, 'out'), palette);
    } finally {
      rmSync(folder, { recursive: true, force: true });
    }
  }

  async close() {
    openPages.delete(this.page);
    await this.page.close();
  }
}

function compareCheckpoint(checkpoint, folder, palette) {
  const where = `checkpoint ${checkpoint.name}`;
  const turns = Number(readFileSync(join(folder, checkpoint.name + '.turns'), 'utf8'));
  assert.equal(checkpoint.run.turns, turns, `${where}: steps`);
  compareFigures(checkpoint, readFileSync(join(folder, checkpoint.name + '.figures'), 'utf8'));

  const nativeConsole = readFileSync(join(folder, checkpoint.name + '.console'));
  const pageConsole = Buffer.from(checkpoint.console, 'base64');
  if (checkpoint.run.state === 'sleep') {
    const spinner = spinnerCell(nativeConsole);
    assert.ok('-\\|/'.includes(String.fromCharCode(pageConsole[spinner])), `${where}: spinner`);
    pageConsole[spinner] = nativeConsole[spinner];
  }
  const firstCell = firstDifference(pageConsole, nativeConsole);
  assert.equal(firstCell, -1, `${where}: console cell (${(firstCell >> 1) % COLUMNS + 1}, ${Math.floor((firstCell >> 1) / COLUMNS) + 1}) differs; the page shows\n${checkpoint.text}`);
  if (checkpoint.mirror) {
    // The spinner may have turned between the last repaint and the checkpoint.
    const still = (rows) => rows.map((row, index) => (index === ROWS - 1 ? row.replace(/[-\\|/](\s*)$/, ' $1') : row));
    assert.deepEqual(still(checkpoint.mirror), still(checkpoint.text.split('\n').slice(0, ROWS)), `${where}: the text mirror`);
  }
  if (checkpoint.consolePicture) compareConsolePicture(checkpoint, join(folder, checkpoint.name), where);

  const nativeSurface = readFileSync(join(folder, checkpoint.name + '.surface'));
  const width = nativeSurface.readUInt32LE(0), height = nativeSurface.readUInt32LE(4);
  if (width === 0) {
    assert.equal(checkpoint.surface, null, `${where}: the page has a surface open, the desktop none`);
    return;
  }
  assert.ok(checkpoint.surface, `${where}: the desktop has a surface open, the page none`);
  assert.deepEqual([checkpoint.surface.width, checkpoint.surface.height], [width, height], `${where}: surface size`);
  const indices = nativeSurface.subarray(8);
  const pageIndices = Buffer.from(checkpoint.surface.indices, 'base64');
  const first = firstDifference(pageIndices, indices);
  assert.equal(first, -1, `${where}: surface pixel (${first % width}, ${Math.floor(first / width)}) differs`);
  if (checkpoint.canvas) {
    const rgba = Buffer.from(checkpoint.canvas, 'base64');
    assert.equal(rgba.length, width * height * 4, `${where}: canvas size`);
    for (let i = 0; i < indices.length; ++i) {
      const p = indices[i] * 3, q = i * 4;
      if (rgba[q] !== palette[p] || rgba[q + 1] !== palette[p + 1] || rgba[q + 2] !== palette[p + 2] || rgba[q + 3] !== 255) {
        assert.fail(`${where}: canvas pixel (${i % width}, ${Math.floor(i / width)}) is not palette colour ${indices[i]}`);
      }
    }
  }
}

// The console canvas against the desktop's core: console_shot draws the native checkpoint's cells
// in the font the canvas's size chooses and compares it with the canvas, pixel for pixel (the
// cursor in either phase of its blink, the spinner in any of its shapes).
function compareConsolePicture(checkpoint, nativeCheckpoint, where) {
  const { width, height, rgb } = checkpoint.consolePicture;
  const shot = nativeCheckpoint + '.page.ppm';
  writeFileSync(shot, Buffer.concat([Buffer.from(`P6\n${width} ${height}\n255\n`), Buffer.from(rgb, 'base64')]));
  try {
    execFileSync(consoleShot, [nativeCheckpoint, shot], { encoding: 'utf8' });
  } catch (error) {
    assert.fail(`${where}: the console canvas (${width}x${height}) is not the core's picture: ${error.stdout}${error.stderr}`);
  }
}

// The page prompt's spinner: the last character of row 25, right after the prompt's text.
function spinnerCell(cells) {
  let column = COLUMNS - 1;
  while (column > 0 && [0, 32].includes(cells[((ROWS - 1) * COLUMNS + column) * 2])) --column;
  return ((ROWS - 1) * COLUMNS + column) * 2;
}

// The figures panel, shown beside the run and the kept picture, against the native run's figures
// (script_run's .figures line).
function compareFigures(checkpoint, line) {
  const where = `checkpoint ${checkpoint.name}: figures`;
  const shown = checkpoint.figures;
  if (shown === null) {
    assert.ok(!checkpoint.run.surfaceShown, `${where}: no figures beside the run`);
    return;
  }
  const [step, , box1, box2, half, hasDistance, distance, firstDistance, pace, mode] = line.trim().split(' ').map(Number);
  const count = (text) => parseInt(text.replace(/\D/g, ''), 10) || 0;  // "no limit": 0
  assert.deepEqual([count(shown.step), count(shown.box1), count(shown.box2), Number(shown.half), count(shown.pace)],
                   [step, box1, box2, half, pace], `${where}: T, box 1, box 2, N/2, pace`);
  assert.equal(shown.mode, checkpoint.modeNames[mode], `${where}: mode`);
  if (hasDistance === 0) {
    assert.deepEqual([shown.distance, shown.firstDistance], [null, null], `${where}: distances shown without theory`);
    return;
  }
  assert.equal(shown.distance, distance.toFixed(3), `${where}: distance`);
  assert.equal(shown.firstDistance, step >= 1 ? firstDistance.toFixed(3) : checkpoint.notYet, `${where}: distance at step 1`);
}

function firstDifference(a, b) {
  if (a.length !== b.length) return 0;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return i;
  return -1;
}

// From the first help page to the number prompt, checking the first two pages and the prompt.
async function throughHelp(session) {
  await session.checkpoint('help-1');
  await session.type(' ', 'sleep');
  await session.checkpoint('help-2');
  await skipHelp(session);
  await session.checkpoint('prompt-n');
}

// Pages on through the help text to the first number prompt.
async function skipHelp(session, next = () => session.press(' ')) {
  for (let pages = 0; (await session.settle(['sleep', 'key-wait'])).state === 'sleep'; ++pages) {
    assert.ok(pages < 20, 'the help pages do not end');
    await session.assertConsoleRepainted(`help page ${pages + 1}`);
    await next();
  }
}

// From the end of the run through the summary pages to the closing line.
// `end` ends the run and `next` turns a page: keys by default.
async function throughSummary(session, end = () => session.press('v'), next = () => session.press(' ')) {
  await end();
  await session.settle('sleep');
  await session.checkpoint('summary-0');
  for (let page = 1; ; ++page) {
    assert.ok(page < 20, 'the summary pages do not end');
    await next();
    const run = await session.settle(['sleep', 'ended']);
    if (run.state === 'ended') {
      assert.equal(run.exitCode, 0);
      break;
    }
    await session.checkpoint(`summary-${page}`);
  }
  await session.checkpoint('closing');
}

// Keys the page's table does not know: nothing happens, and the browser keeps them.
async function pressUnknownKeys(session) {
  const before = await session.run();
  const kept = await session.page.evaluate(() => {
    const keys = [['F13', 'F13'], ['CapsLock', 'CapsLock'], ['Shift', 'ShiftLeft'], ['\u20AC', 'KeyE'],
                  ['Dead', 'BracketLeft'], ['AudioVolumeUp', 'AudioVolumeUp'], ['Unidentified', '']];
    return keys.map(([key, code]) => window.dispatchEvent(new KeyboardEvent('keydown', { key, code, cancelable: true })));
  });
  await sleep(100);
  assert.deepEqual(kept, kept.map(() => true), 'an unknown key was taken from the browser');
  const after = await session.run();
  assert.equal(after.turns, before.turns, 'an unknown key made a step');
  assert.equal(after.state, 'key-wait');
  assert.equal(after.keyPending, false);
}

test('zorvan2 in the page is the desktop program: help, prompts, steps, Normal, Quiet, summary', async () => {
  const session = await Session.open('zorvan2', 1000, 700);
  await throughHelp(session);
  await session.type('140\r', 'key-wait');
  await session.checkpoint('prompt-k');
  await session.type('70\r', 'key-wait');
  await session.checkpoint('run-0');
  await pressUnknownKeys(session);
  await session.type('   ', 'key-wait');
  await session.checkpoint('steps-3');
  // A resize while Normal runs: the canvas is scaled anew, the surface and the run stay.
  const wide = await session.page.evaluate(() => window.zorvanPage.canvasBox());
  await session.stretch('n', 600, () => session.page.setViewport({ width: 760, height: 560 }));
  const narrow = await session.page.evaluate(() => window.zorvanPage.canvasBox());
  assert.deepEqual([narrow.intrinsicWidth, narrow.intrinsicHeight], [wide.intrinsicWidth, wide.intrinsicHeight]);
  assert.ok(narrow.width < wide.width && narrow.width <= 760, `the canvas was not scaled down: ${JSON.stringify(narrow)}`);
  assert.ok(Math.abs(narrow.width / narrow.height - wide.width / wide.height) < 0.01, 'the proportions changed');
  await session.checkpoint('normal');
  await session.page.setViewport({ width: 1000, height: 700 });
  await session.stretch('c', 800);
  await session.checkpoint('quiet');
  await session.type(' ', 'key-wait');
  await session.checkpoint('step-after-quiet');
  await throughSummary(session);
  await session.compareWithNative();
  await session.close();
});

test('zorvan in the page is the desktop program, on a page smaller than the smallest surface', async () => {
  const session = await Session.open('zorvan', 700, 500);
  await throughHelp(session);
  await session.type('23\r', 'key-wait');
  await session.type('0\r', 'key-wait');
  const box = await session.page.evaluate(() => window.zorvanPage.canvasBox());
  assert.deepEqual([box.intrinsicWidth, box.intrinsicHeight], [700, 480]);
  await session.checkpoint('run-0');
  await session.type('ab', 'key-wait');
  await session.checkpoint('steps-2');
  await session.stretch('n', 400);
  await session.checkpoint('normal');
  await session.stretch('c', 600);
  await session.checkpoint('quiet');
  await throughSummary(session);
  await session.compareWithNative();
  await session.close();
});

// The summary's figures (T, K and both distances) after a long quiet run.
for (const [insects, box1] of [[140, 70], [7, 0]]) {
  test(`a long quiet run with N = ${insects} ends with the desktop's figures`, onceOnly, async () => {
    const session = await Session.open('zorvan2', 1000, 700);
    await skipHelp(session);
    await session.type(`${insects}\r${box1}\r`, 'key-wait');
    const run = await session.stretch('c', 1000, undefined, 1000000);
    await throughSummary(session);
    await session.compareWithNative();
    // The figures, for the log: the summary lines that hold digits.
    const figures = session.checkpoints.filter((c) => c.name.startsWith('summary-'))
      .flatMap((c) => c.text.split('\n')).filter((line) => /\d/.test(line)).map((line) => line.slice(2, 78).trim());
    console.log(`# N = ${insects}, K = ${box1}, ${run.turns} quiet turns:\n# ` + figures.join('\n# '));
    await session.close();
  });
}

// In the page (called through page.evaluate): for `frames` display frames, right after the page's
// repaint and before the program runs again, compares every canvas pixel with the surface's
// palette colour. Answers the frames compared, the distinct steps they saw and the first
// difference found.
function compareAtRepaints(frames) {
  const palette = window.zorvanPage.palette();
  const nextFrame = () => new Promise((resolve) => requestAnimationFrame(resolve));
  return (async () => {
    const steps = new Set();
    for (let frame = 0; frame < frames; ++frame) {
      await nextFrame();  // requested after the page's own callback: runs just after its repaint
      const { width, indices } = window.zorvanPage.surface();
      const rgba = window.zorvanPage.canvasPixels();
      steps.add(window.zorvanPage.run().turns);
      for (let i = 0; i < indices.length; ++i) {
        const rgb = palette[indices[i]];
        if (rgba[4 * i] !== rgb >>> 16 || rgba[4 * i + 1] !== ((rgb >>> 8) & 255) ||
            rgba[4 * i + 2] !== (rgb & 255) || rgba[4 * i + 3] !== 255) {
          return { frame, steps: steps.size, difference: `(${i % width}, ${Math.floor(i / width)}) is not palette colour ${indices[i]}` };
        }
      }
    }
    return { frame: frames, steps: steps.size, difference: null };
  })();
}

// The page puts only the rectangles that changed onto its canvas: at a pace of 100 steps a
// second each repaint carries a step or two, a few small boxes, and after each the canvas must
// still be the whole surface.
test('the canvas equals the surface after every repaint of a paced Normal run', async () => {
  const session = await Session.open('zorvan2', 1000, 700);
  await skipHelp(session);
  await session.type('140\r70\r5', 'key-wait');  // the digit makes a step and sets the pace
  await session.press('n');
  const result = await session.page.evaluate(compareAtRepaints, 90);
  await session.press('l');
  await session.settle('key-wait');
  assert.equal(result.difference, null, `after repaint ${result.frame}: canvas pixel ${result.difference}`);
  assert.ok(result.steps > 30, `too few steps were painted: ${result.steps}`);
  assert.deepEqual(session.errors, []);
  await session.close();
});

// A turn allocates nothing: over a second of Quiet and of Normal (repaints and a halving of the
// chart's scale among its turns), the program's count of operator new calls stays as it was.
test('a stretch of Quiet or Normal turns allocates nothing', onceOnly, async () => {
  const session = await Session.open('zorvan2', 1000, 700);
  await skipHelp(session);
  await session.type('140\r70\r', 'key-wait');
  for (const mode of ['c', 'n']) {
    let first, last;
    await session.stretch(mode, 1600, async () => {
      first = await session.run();
      await sleep(1000);
      last = await session.run();
    });
    assert.ok(first.allocations > 0, 'no count: the program\'s start allocates');
    assert.ok(last.turns - first.turns > 1000, `${mode}: only ${last.turns - first.turns} turns`);
    assert.equal(last.allocations - first.allocations, 0,
                 `${mode}: allocations over ${last.turns - first.turns} turns`);
  }
  assert.deepEqual(session.errors, []);
  await session.close();
});

test('Ctrl-C ends the program and brings the chooser back; a program starts again after it', async () => {
  const session = await Session.open('zorvan', 800, 600, { language: 'en' });
  await session.page.keyboard.down('Control');
  await session.page.keyboard.press('c');
  await session.page.keyboard.up('Control');
  await sleep(300);
  assert.equal(await session.run(), null);
  assert.match(await session.page.evaluate(() => window.zorvanPage.notice()), /stopped with Ctrl-C/);
  assert.equal(await session.page.evaluate(() => document.getElementById('chooser').hidden), false);
  await session.page.evaluate(() => window.zorvanPage.start('zorvan2'));
  await session.settle('sleep');
  assert.deepEqual(session.errors, []);
  await session.close();
});

// The console's text mirror lies over the picture cell for cell, so a selection copies what the
// picture shows; its live region announces each new page and prompt once: not the spinner's
// turns, not the digits typed, but the prompt again after a refused answer.
test('the console\'s text lies over its picture; a new page or prompt is announced, nothing else', async () => {
  const session = await Session.open('zorvan2', 1366, 768);
  const page = session.page;
  const news = () => page.evaluate(() => window.zorvanPage.consoleNews());
  assert.match(await news(), /^Szimuláció\n1\. A KÉTDOBOZOS URNAMODELL\n/);
  assert.doesNotMatch(await news(), /[\u2500-\u259f]/, 'the frame is read aloud');
  const geometry = await page.evaluate(() => {
    const canvas = document.getElementById('console').getBoundingClientRect();
    const mirror = document.getElementById('console-text');
    const range = document.createRange();
    range.selectNodeContents(mirror.children[2]);
    const text = range.getBoundingClientRect(), line = mirror.children[2].getBoundingClientRect();
    const row = { left: text.left, top: line.top, width: text.width };
    range.selectNodeContents(mirror);
    window.getSelection().removeAllRanges();
    window.getSelection().addRange(range);
    return { canvas: [canvas.left, canvas.top, canvas.width, canvas.height],
             row: [row.left, row.top, row.width],
             mirror: Object.values(mirror.getBoundingClientRect().toJSON()).slice(0, 4),
             selected: window.getSelection().toString() };
  });
  const [left, top, width, height] = geometry.canvas;
  assert.deepEqual(geometry.mirror.slice(0, 2).map(Math.round), [left, top].map(Math.round));
  const cellWidth = width / COLUMNS, cellHeight = height / ROWS;
  assert.ok(Math.abs(geometry.row[0] - left) < 1 && Math.abs(geometry.row[2] - width) < cellWidth &&
            Math.abs(geometry.row[1] - (top + 2 * cellHeight)) < 1, `row 3 is not over the picture's row 3: ${geometry.row} in ${geometry.canvas}`);
  assert.match(geometry.selected, /1\. A KÉTDOBOZOS URNAMODELL/);

  await page.evaluate(() => {
    window.announced = [];
    new MutationObserver(() => window.announced.push(window.zorvanPage.consoleNews()))
      .observe(document.getElementById('console-news'), { childList: true, characterData: true, subtree: true });
  });
  // What the live region announced since the last look, after the next repaints.
  const announced = async () => {
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    return page.evaluate(() => window.announced.splice(0));
  };
  await sleep(1200);
  assert.deepEqual(await announced(), [], 'the spinner was announced');
  await session.type(' ', 'sleep');
  const second = await announced();
  assert.equal(second.length, 1);
  assert.match(second[0], /^2\. /);
  await skipHelp(session);
  const prompt = 'Hány Zorvan legyen összesen? [5-140]';
  assert.ok((await announced()).at(-1).endsWith(prompt));
  await session.type('3', 'key-wait');
  assert.deepEqual(await announced(), [], 'a typed digit was announced');
  await session.type('\r', 'key-wait');
  assert.deepEqual(await announced(), [prompt], 'the refused answer\'s prompt again');
  assert.deepEqual(session.errors, []);
});

test('a bad number at a prompt ends the program with its run-time error, shown in the page', async () => {
  const session = await Session.open('zorvan', 800, 600, { language: 'en' });
  await skipHelp(session);
  await session.type('12x\r', 'ended');
  const run = await session.run();
  assert.equal(run.exitCode, 106);
  // The bar says it once the page has had its turn after the end.
  await session.page.waitForFunction(() => document.getElementById('ended-text').textContent !== '');
  assert.match(await session.page.evaluate(() => document.getElementById('ended-text').textContent),
               /exit code 106.*Runtime error 106/);
  await session.close();
});

test('the page works opened from a folder, with no web server', async () => {
  const page = await browser.newPage();
  openPages.add(page);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(pathToFileURL(join(siteFolder, 'index.html')).href + '?lang=hu');
  await page.evaluate(() => window.zorvanPage.start('zorvan2'));
  await page.waitForFunction(() => window.zorvanPage.run().state === 'sleep', { timeout: 20000 });
  assert.match(await page.evaluate(() => window.zorvanPage.consoleText()), /Lapozhatunk/);
  assert.deepEqual(errors, []);
});

test('zorvan in English in the page is the desktop program in English', async () => {
  const session = await Session.open('zorvan', 800, 600, { language: 'en' });
  assert.match(await session.page.evaluate(() => window.zorvanPage.consoleText()), /Next page\?/);
  await throughHelp(session);
  await session.type('23\r', 'key-wait');
  await session.type('7\r', 'key-wait');
  await session.checkpoint('run-0');
  await session.type('ab', 'key-wait');
  await session.checkpoint('steps-2');
  await throughSummary(session);
  const closing = session.checkpoints.at(-1).text;
  assert.match(closing, /And that is the end of the tale!!!!/);
  await session.compareWithNative();
  await session.close();
});

// A page whose browser prefers `languages` (navigator.languages), opened at `query`.
async function pageWithBrowserLanguages(languages, query = '') {
  const page = await browser.newPage();
  openPages.add(page);
  await page.evaluateOnNewDocument((preferred) => {
    Object.defineProperty(navigator, 'languages', { get: () => preferred });
    Object.defineProperty(navigator, 'language', { get: () => preferred[0] });
  }, languages);
  await page.goto(server.url + query);
  return page;
}

// What the page speaks: its language, its heading and the switch's choice.
function pageLanguage(page) {
  return page.evaluate(() => ({
    language: window.zorvanPage.language(), lang: document.documentElement.lang,
    heading: document.querySelector('#chooser h1').textContent,
    switched: document.getElementById('language').value,
  }));
}

test('the page and its program speak the browser\'s language, ?lang= or the switch\'s', async () => {
  const english = { language: 'en', lang: 'en', heading: 'The two-box urn model', switched: 'en' };
  const german = { language: 'de', lang: 'de', heading: 'Das Urnenmodell mit zwei Kästen',
                   switched: 'de' };
  const hungarian = { language: 'hu', lang: 'hu', heading: 'A kétdobozos urnamodell',
                      switched: 'hu' };
  for (const [languages, query, expected] of [
    [['en-GB', 'en'], '', english], [['fr-FR', 'fr', 'en'], '', english],
    [['fr-FR'], '', hungarian], [['hu-HU'], '', hungarian], [['hu'], '?lang=en', english],
    [['de-AT', 'en'], '', german], [['hu'], '?lang=de', german],
    [['en-US'], '?lang=xx', english], [['en-US'], '?lang=hu', hungarian]]) {
    const page = await pageWithBrowserLanguages(languages, query);
    assert.deepEqual(await pageLanguage(page), expected, `${languages} ${query}`);
    await page.close();
    openPages.delete(page);
  }

  // The switch offers each language by its own name; a change speaks it at once, keeps it in
  // the address and starts the program on the stage again in it.
  const page = await pageWithBrowserLanguages(['hu-HU']);
  const names = await page.evaluate(() => [...document.querySelectorAll('#language option')]
    .map((option) => [option.value, option.textContent]));
  assert.deepEqual(names, [['hu', 'Magyar'], ['de', 'Deutsch'], ['en', 'English']]);
  await page.evaluate(() => window.zorvanPage.start('zorvan2'));
  await page.waitForFunction(() => window.zorvanPage.run().state === 'sleep', { timeout: 20000 });
  assert.match(await page.evaluate(() => window.zorvanPage.consoleText()), /Lapozhatunk\?/);
  await page.select('#language', 'en');
  assert.deepEqual(await pageLanguage(page), english);
  assert.equal(new URL(page.url()).searchParams.get('lang'), 'en');
  await page.waitForFunction(() => window.zorvanPage.run()?.state === 'sleep' &&
                             window.zorvanPage.consoleText().includes('Next page?'),
                             { timeout: 20000 });
  assert.equal(await page.evaluate(() => document.getElementById('hint').textContent),
               'L step by step · N normal · C quiet · V end · Ctrl-C stops the program');
  await page.reload();
  assert.deepEqual(await pageLanguage(page), english);
});

// The texts of a PO catalogue by id: [original, translation].
function catalogueTexts(path) {
  const texts = {};
  let entry = null, field = null;
  for (const line of readFileSync(path, 'utf8').split('\n')) {
    const keyword = /^(msgctxt|msgid|msgstr) (".*")$/.exec(line);
    if (keyword?.[1] === 'msgctxt') texts[JSON.parse(keyword[2])] = entry = ['', ''];
    if (keyword) field = { msgctxt: null, msgid: 0, msgstr: 1 }[keyword[1]];
    else if (!line.startsWith('"')) field = null;
    const string = keyword ? keyword[2] : line.startsWith('"') ? line : null;
    if (entry && field !== null && string) entry[field] += JSON.parse(string);
  }
  return texts;
}

// Every text the page's own elements show (text, accessible name, title), by the element's
// text id and as shown, and every other text it holds outside the program's screens.
function pageTexts() {
  const slots = [];
  const readers = [['text', (e) => e.textContent], ['label', (e) => e.getAttribute('aria-label')],
                   ['title', (e) => e.title]];
  for (const [attribute, read] of readers) {
    for (const element of document.querySelectorAll(`[data-${attribute}]`)) {
      slots.push([element.dataset[attribute], read(element)]);
    }
  }
  const shown = [];
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const text = node.textContent.trim();
    // The switch names each language in it; the number field's prompt and the console's text
    // mirror are the program's text.
    if (text && !node.parentElement.closest('#language, .prompt, #console-text, #console-news')) {
      shown.push(text);
    }
  }
  for (const element of document.querySelectorAll('[aria-label], [title]')) {
    shown.push(element.getAttribute('aria-label') || element.title);
  }
  const figures = Object.fromEntries([...document.querySelectorAll('[data-figure]')]
    .map((e) => [e.dataset.figure, e.textContent]));
  return { slots, shown, figures };
}

// With ?lang=en or ?lang=de the page's bar, "About", its controls and its figures panel speak
// that language, with no text of the page's other languages left; by default (a browser with no
// language of the page's) they are Hungarian; and the switch turns the Hungarian page English at
// once. The controls and the figures are those of a run in Step mode at a pace of 300 steps a
// second.
test('the page\'s controls, "About" and figures speak the page\'s language alone', async () => {
  const webFolder = resolve(dataFolder, '..', 'web');
  const pot = catalogueTexts(join(webFolder, 'page.pot'));
  const translated = { en: catalogueTexts(join(dataFolder, 'en', 'page.po')),
                       de: catalogueTexts(join(dataFolder, 'de', 'page.po')) };
  const textOf = (language, id) => (language === 'hu' ? pot[id][0] : translated[language][id][1]);
  const languages = ['hu', ...Object.keys(translated)];
  const assertLanguage = async (page, language) => {
    const { slots, shown, figures } = await page.evaluate(pageTexts);
    const expected = (id) => textOf(language, id);
    for (const [id, text] of slots) assert.equal(text, expected(id), `${language}: ${id}`);
    for (const id of ['page.next_page', 'page.step_label', 'page.pace_group', 'page.figure_box1',
                      'page.figure_distance_title', 'page.about_model', 'page.console_label']) {
      assert.ok(slots.some(([shownId]) => shownId === id), `${language}: ${id} is not shown`);
    }
    const foreign = new Set();
    for (const other of languages.filter((code) => code !== language)) {
      for (const id of Object.keys(pot)) {
        if (textOf(other, id) !== expected(id)) foreign.add(textOf(other, id));
      }
    }
    assert.deepEqual(shown.filter((text) => foreign.has(text)), [],
                     `${language}: texts of another language`);
    if (language !== 'hu') {
      assert.deepEqual(shown.filter((text) => /[áéíóőúű]/i.test(text)), [],
                       `Hungarian letters in ${language}`);
    }
    assert.deepEqual([figures.mode, figures.pace],
                     [expected('page.mode_step'),
                      expected('page.pace_value').replace('{steps}', '300')]);
    // The About's key table: the keys the programs take, the paces in this language's units.
    const pace = (steps) => expected('page.pace_button').replace('{steps}', steps);
    assert.deepEqual(await page.$$eval('#about tbody tr', (rows) => rows.slice(2, 7)
      .map((row) => [row.cells[0].textContent, row.cells[1].textContent])), [
      ['L', expected('page.step')], ['N', expected('page.normal')],
      ['C', expected('page.quiet')], ['V', expected('page.end')],
      ['1 \u2026 9, 0', `${pace(1)} \u2026 ${pace('10k')}, \u221e`]]);
  };
  for (const [query, language] of [['?lang=en', 'en'], ['?lang=de', 'de'], ['', 'hu']]) {
    const page = await pageWithBrowserLanguages(['fr-FR'], query);
    await page.setViewport({ width: 1366, height: 768 });
    const session = new Session(page, 'zorvan2', language);
    await page.click('#controls-toggle');
    await page.evaluate(() => window.zorvanPage.start('zorvan2'));
    await skipHelp(session);
    await session.type('30\r10\r6', 'key-wait');
    await page.waitForFunction(
      () => document.querySelector('[data-figure="pace"]').textContent.includes('300'));
    await assertLanguage(page, language);
    if (language === 'hu') {
      await page.select('#language', 'en');
      await assertLanguage(page, 'en');
      // The program starts again in English, and its first page prompt has the controls on.
      await page.waitForFunction(() => {
        const next = document.querySelector('#controls [data-text="page.next_page"]');
        return !document.getElementById('dock').hidden && next.getClientRects().length > 0;
      }, { timeout: 15000 });
    }
    assert.deepEqual(session.errors, []);
    await page.close();
    openPages.delete(page);
  }
});

test('the figures computed in WebAssembly are the desktop figures, digit for digit', onceOnly, async () => {
  const folder = mkdtempSync(join(tmpdir(), 'zorvan-digest-'));
  try {
    copyFileSync(webDigest, join(folder, 'exactness_digest.js'));
    writeFileSync(join(folder, 'index.html'), '<!doctype html><script>var lines = []; var Module = { print: (t) => lines.push(t), ' +
      'onExit: () => {}, postRun: () => { window.done = true; } };</script><script src="exactness_digest.js"></script>');
    const digestServer = await serveFolder(folder);
    const page = await browser.newPage();
    await page.goto(digestServer.url);
    await page.waitForFunction(() => window.done === true, { timeout: 120000 });
    const web = (await page.evaluate(() => window.lines)).join('\n');
    await page.close();
    await digestServer.close();
    const native = execFileSync(nativeDigest, { encoding: 'utf8' }).trim();
    assert.equal(web, native);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

// ---------------------------------------------------------------------------------------------
// Touch, phones and tablets.

// A run steered by the page's controls alone, taps and a phone's number pad, with the same
// checkpoints as a run typed on the keyboard: both replay natively to the same run.
async function runByTouch(session, insects, box1) {
  const next = () => session.tap('#next-page', 32);
  await session.checkpoint('help-1');
  const console = await session.page.$eval('#console', (e) => {
    const r = e.getBoundingClientRect();
    return [r.x + r.width / 2, r.y + r.height / 2];
  });
  session.script.push('key c 32');
  await session.page.touchscreen.tap(...console);  // a finger on the text turns the page too
  await skipHelp(session, next);
  await session.checkpoint('prompt-n');
  await session.answer(`9<${insects}`);  // a wrong digit deleted on the pad
  await session.answer(String(box1));
  await session.checkpoint('run-0');
  for (let i = 0; i < 3; ++i) {
    await session.tap('[data-key="l"]', 'l'.charCodeAt(0));
    await session.settle('key-wait');
  }
  await session.tap('[data-key="6"]', '6'.charCodeAt(0));  // a step, and 300 steps a second
  await session.settle('key-wait');
  await session.checkpoint('steps-4');
  await session.tapStretch('n', 700);
  await session.checkpoint('normal');
  await session.tapStretch('c', 700);
  await session.checkpoint('quiet');
  await session.tap('[data-key="l"]', 'l'.charCodeAt(0));
  await session.settle('key-wait');
  await throughSummary(session, () => session.tap('[data-key="v"]', 'v'.charCodeAt(0)), next);
  await session.compareWithNative();
}

test('zorvan2 from a link on an upright phone, run by touch alone, is the keyboard run', chromiumOnly, async () => {
  const session = await Session.open('zorvan2', 390, 844, { touch: true, query: '?program=zorvan2' });
  await session.tap('#turn-ok');  // told once to turn sideways
  await runByTouch(session, 60, 12);
  await session.close();
});

test('zorvan on a phone held sideways, chosen and run by touch alone, is the keyboard run', chromiumOnly, async () => {
  const page = await browser.newPage();
  openPages.add(page);
  await page.setViewport({ width: 844, height: 390, isMobile: true, hasTouch: true });
  await page.goto(server.url + '?lang=hu');
  const session = new Session(page, 'zorvan', 'hu');
  await page.tap('#choices [data-program="zorvan"]');
  await page.waitForFunction(() => window.zorvanPage.run(), { timeout: 20000 });
  await session.settle('sleep');
  assert.equal(await page.$eval('#turn-notice', (e) => e.hidden), true, 'a phone held sideways was told to turn');
  await runByTouch(session, 140, 0);
  assert.match(page.url(), /\?lang=hu&program=zorvan$/, 'the address does not link to the program');
  await session.close();
});

// The boxes of the page's parts in CSS pixels, measured in the page: the console, the surface,
// the dock's figures and controls (every visible button and field), the bar.
function measureBoxes() {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  };
  const shown = (e) => !e.hidden && e.getClientRects().length > 0;
  const parts = {};
  for (const id of ['console', 'surface', 'figures', 'bar']) {
    const element = document.getElementById(id);
    if (shown(element)) parts[id] = box(element);
  }
  const controls = [...document.querySelectorAll('#controls button, #controls input')].filter(shown);
  controls.forEach((element, index) => { parts[`control-${index}`] = box(element); });
  return parts;
}

const round = (part) => [part.left, part.top, part.right, part.bottom].map(Math.round).join(',');

// Every part lies inside the viewport, and none overlaps the console or the picture.
function assertLayout(parts, width, height, where) {
  for (const [name, part] of Object.entries(parts)) {
    assert.ok(part.left >= 0 && part.top >= 0 && part.right <= width + 0.5 && part.bottom <= height + 0.5,
              `${where}: ${name} (${round(part)}) is not inside ${width}x${height}`);
  }
  for (const screen of ['console', 'surface']) {
    if (!parts[screen]) continue;
    for (const [name, part] of Object.entries(parts)) {
      if (name === screen) continue;
      const overlap = Math.min(part.right, parts[screen].right) - Math.max(part.left, parts[screen].left) > 0.5 &&
                      Math.min(part.bottom, parts[screen].bottom) - Math.max(part.top, parts[screen].top) > 0.5;
      assert.ok(!overlap, `${where}: ${name} (${round(part)}) overlaps the ${screen} (${round(parts[screen])})`);
    }
  }
}

// Phones and tablets either way round with their touch controls; a laptop and a projector-sized
// screen with the controls asked for, the latter at zoom 2 from the address.
test('the console, the picture, the figures and the controls fit phones, tablets and screens', chromiumOnly, async () => {
  const layouts = [[390, 844, true], [844, 390, true], [768, 1024, true], [1366, 768, false], [1920, 1080, false, 2]];
  const report = [];
  for (const [width, height, touch, zoom] of layouts) {
    const query = zoom ? `?program=zorvan2&zoom=${zoom}` : null;
    const session = await Session.open('zorvan2', width, height, { touch, query });
    const { page } = session;
    if (!touch) await page.click('#controls-toggle');
    const measure = async (where) => {
      await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
      const parts = await page.evaluate(measureBoxes);
      assertLayout(parts, width, height, `${width}x${height} ${where}`);
      const names = Object.keys(parts);
      const boxes = names.filter((name) => !name.startsWith('control-')).map((name) => `${name} ${round(parts[name])}`);
      const controls = names.length - boxes.length;
      report.push(`# ${width}x${height} ${where}: ${boxes.join('; ')}; ${controls} controls`);
      return parts;
    };
    await measure('help');
    await skipHelp(session);
    await measure('prompt');
    await session.type('140\r70\r', 'key-wait');
    const running = await measure('run');
    assert.ok(running.figures && running['control-0'], `${width}x${height}: no figures or controls beside the run`);
    if (zoom) {
      const box = await page.evaluate(() => window.zorvanPage.canvasBox());
      assert.equal(box.width, box.intrinsicWidth * zoom, 'the picture at zoom 2 is not shown at twice its size');
      assert.ok(box.intrinsicWidth < width / zoom && box.intrinsicWidth >= 640,
                `the surface at zoom 2 is ${box.intrinsicWidth} wide`);
    }
    await session.type('v', 'sleep');
    const summary = await measure('summary');
    assert.ok(summary.console && summary.surface && summary.surface.right - summary.surface.left >= 120,
              `${width}x${height}: the last picture is not kept beside the summary`);
    assert.equal(await page.$eval('#surface', (e) => getComputedStyle(e).opacity < 1), true, 'the kept picture is not dimmed');
    assert.deepEqual(session.errors, []);
    await session.close();
  }
  console.log(report.join('\n'));
});

test('after one visit the page reloads and runs a program with the network cut', chromiumOnly, async () => {
  const page = await browser.newPage();
  openPages.add(page);
  await page.goto(server.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
  const client = await page.createCDPSession();
  const manifest = await client.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, [], 'the manifest has errors');
  const { installabilityErrors } = await client.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, [], 'the page cannot be installed');
  await page.setOfflineMode(true);
  await page.reload();
  const session = new Session(page, 'zorvan');
  await page.evaluate(() => window.zorvanPage.start('zorvan'));
  await session.settle('sleep');
  await skipHelp(session);
  await session.type('20\r5\r  ', 'key-wait');
  assert.equal((await session.run()).turns, 2);
  assert.deepEqual(session.errors, []);
});

// A returning student gets the new version of every file, never a mix: the site is served with
// a day's cache headers, version 1 is visited and kept by the service worker, then version 2
// (every file changed, and the worker with them, as a build makes it) replaces it on the
// server. Once the new worker is in charge, every file it keeps and serves is version 2's, though
// the browser's HTTP cache still holds version 1's.
test('a new version of the page arrives whole, past the browser\'s cache', async () => {
  const project = resolve(dataFolder, '..');
  const versions = mkdtempSync(join(tmpdir(), 'zorvan-versions-'));
  const makeVersion = (number) => {
    const folder = join(versions, String(number));
    execFileSync('cp', ['-r', siteFolder, folder]);
    for (const name of readdirSync(folder).filter((file) => /\.(html|css|js|svg|webmanifest)$/.test(file))) {
      if (name === 'service-worker.js' || number === 1) continue;
      const comment = /\.(html|svg)$/.test(name) ? '<!-- version 2 -->' : name.endsWith('.webmanifest') ? ' ' : '/* version 2 */';
      writeFileSync(join(folder, name), readFileSync(join(folder, name), 'utf8') + comment + '\n');
    }
    execFileSync('cmake', [`-DSITE_DIR=${folder}`, `-DWORKER=${join(project, 'web', 'service-worker.js')}`,
                           '-P', join(project, 'cmake', 'site_worker.cmake')]);
    return folder;
  };
  const first = makeVersion(1), second = makeVersion(2);
  const site = await serveFolder(first, { cacheSeconds: 86400 });
  const page = await browser.newPage();
  openPages.add(page);
  try {
    await page.goto(site.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
    site.serve(second);
    const kept = await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      const before = (await caches.keys()).join();
      await registration.update();
      // Until the new version's cache is the only one (the new worker deletes the old ones once
      // it is in charge).
      for (let i = 0; i < 400; ++i) {
        const names = await caches.keys();
        if (names.length === 1 && names[0] !== before) break;
        await new Promise((r) => setTimeout(r, 50));
      }
      const names = await caches.keys();
      const cache = await caches.open(names[0]);
      const files = {};
      for (const request of await cache.keys()) {
        files[new URL(request.url).pathname.slice(1) || 'index.html'] = await (await cache.match(request)).text();
      }
      return { names, files };
    });
    assert.equal(kept.names.length, 1, `one version kept: ${kept.names}`);
    const files = Object.keys(kept.files);
    assert.ok(files.includes('index.html') && files.includes('zorvan2.js'), `kept: ${files}`);
    for (const name of files) {
      assert.equal(kept.files[name], readFileSync(join(second, name), 'utf8'), `${name} is not version 2's`);
    }
  } finally {
    await site.close();
    rmSync(versions, { recursive: true, force: true });
  }
});

test('an accessibility check finds no serious fault in the chooser, the help, the run or the summary', async () => {
  const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
  const page = await browser.newPage();
  openPages.add(page);
  await page.setViewport({ width: 1366, height: 768 });
  await page.goto(server.url + '?lang=hu');
  const session = new Session(page, 'zorvan2', 'hu');
  const check = async (where) => {
    if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.addScriptTag({ path: axe });
    const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
    assert.deepEqual(violations, [], `${where}: serious accessibility faults`);
  };
  await page.click('#about summary');
  await check('the chooser with the about text open');
  await page.click('#about summary');
  await page.click('#controls-toggle');
  await page.evaluate(() => window.zorvanPage.start('zorvan2'));
  await session.settle('sleep');
  await check('help');
  await skipHelp(session);
  await check('number prompt');
  await session.type('30\r10\r', 'key-wait');
  await check('run');
  await session.type('v', 'sleep');
  await check('summary');
});

// The palette indices of a PNG file of ours (colour type 3, 8 bits a pixel), row by row.
function pngIndices(bytes) {
  let width = 0, height = 0;
  const data = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at), type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
    if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const filtered = inflateSync(Buffer.concat(data));
  const indices = Buffer.alloc(width * height);
  for (let y = 0; y < height; ++y) {
    const filter = filtered[y * (width + 1)];
    for (let x = 0; x < width; ++x) {
      const left = x > 0 ? indices[y * width + x - 1] : 0, up = y > 0 ? indices[(y - 1) * width + x] : 0;
      const raw = filtered[y * (width + 1) + 1 + x];
      assert.ok(filter <= 2, `filter ${filter}`);
      indices[y * width + x] = (raw + [0, left, up][filter]) & 0xFF;
    }
  }
  return { width, height, indices };
}

// A run of zorvan2 (N 20, K 7, 30 steps) opened at `query`, ended with V; what the page shows
// on the summary's first page, and the files its Save buttons offer.
async function savedRun(query) {
  const session = await Session.open('zorvan2', 900, 700, { query });
  await skipHelp(session);
  await session.type('20\r7\r' + ' '.repeat(30), 'key-wait');
  await session.type('v', 'sleep');
  const shown = await session.page.evaluate(() => ({
    kept: window.zorvanPage.keptFiles(),
    // As text: a long array crosses WebDriver BiDi slowly.
    canvas: (() => {
      const bytes = new Uint8Array(window.zorvanPage.canvasPixels().buffer);
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      return btoa(text);
    })(),
    palette: window.zorvanPage.palette(),
    figures: window.zorvanPage.figures(),
    saveShown: !document.getElementById('save').hidden,
    address: window.location.search,
  }));
  assert.deepEqual(session.errors, []);
  await session.close();
  return { ...shown, canvas: Buffer.from(shown.canvas, 'base64') };
}

test('Save picture is the last picture pixel for pixel, Save figures the run\'s figures; ?seed= names the run', async () => {
  const plain = await savedRun('?program=zorvan2');
  assert.ok(plain.saveShown, 'the Save buttons beside the kept picture');
  assert.equal(plain.kept.name, 'zorvan2_N20_K7_seed0_T30');
  const png = pngIndices(Buffer.from(plain.kept.picture));
  assert.equal(png.width * png.height * 4, plain.canvas.length);
  for (let i = 0; i < png.indices.length; ++i) {
    const rgb = plain.palette[png.indices[i]];
    const shown = (plain.canvas[4 * i] << 16) | (plain.canvas[4 * i + 1] << 8) | plain.canvas[4 * i + 2];
    if (shown !== rgb) assert.fail(`the saved picture differs from the kept one at pixel ${i}`);
  }
  const rows = plain.kept.figures.replace(/^\uFEFF/, '').split('\r\n').map((row) => row.split(','));
  const figure = (row) => Number(rows[row][1]);
  assert.deepEqual([figure(1), figure(2), figure(4), figure(5)],
                   [0, plain.figures.insects, plain.figures.box1, plain.figures.step]);
  assert.equal(figure(7).toFixed(3), plain.figures.distance.toFixed(3));
  assert.equal(plain.figures.seed, 0);

  const seeded = await savedRun('?program=zorvan2&seed=5');
  assert.equal(seeded.kept.name, 'zorvan2_N20_K7_seed5_T30');
  assert.equal(seeded.figures.seed, 5);
  assert.notEqual(seeded.kept.figures, plain.kept.figures.replace(/,0\r\n/, ',5\r\n'),
                  'seed 5 gives another run');
  const again = await savedRun('?program=zorvan2&seed=5');
  assert.equal(again.kept.figures, seeded.kept.figures);
  assert.deepEqual(again.kept.picture, seeded.kept.picture);
});

test('the seed field starts the program again with its seed, and refuses what is no seed', async () => {
  const session = await Session.open('zorvan2', 1000, 700, { query: '?program=zorvan2&seed=12' });
  const page = session.page;
  assert.equal(await page.$eval('#seed', (field) => field.value), '12');
  const enter = async (text) => {
    await page.$eval('#seed', (field) => { field.value = ''; field.focus(); });
    await page.keyboard.type(text);
    await page.keyboard.press('Tab');
    return page.evaluate(() => ({ problem: window.zorvanPage.seedProblem(),
                                  address: window.location.search }));
  };
  for (const bad of ['-1', '4294967296', '1.5', '1e3']) {
    const { problem, address } = await enter(bad);
    assert.match(problem ?? '', /4294967295/, `${bad} is refused with a message`);
    assert.match(address, /seed=12/, `${bad} leaves the seed in force`);
  }
  const { problem, address } = await enter('4294967295');
  assert.equal(problem, null);
  assert.match(address, /seed=4294967295/);
  await session.settle('sleep');
  await skipHelp(session);
  await session.type('20\r7\r', 'key-wait');
  assert.equal((await page.evaluate(() => window.zorvanPage.figures())).seed, 4294967295);
  assert.deepEqual(session.errors, []);
});
