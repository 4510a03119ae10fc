// The page: runs one of the two programs at a time and shows it.
//
// A run of a program (run.js) is one instance of it (program.js, the one module that talks to
// the program) with one ProgramRun as its host. The page itself never blocks: it takes keys,
// repaints once per display frame from what the program says changed, and places the pictures:
//
//   the text console   the program's own picture of the console, with its text over it for
//                      selecting, copying and reading aloud (console_view.js)
//   the surface        the run's picture pixel for pixel, scaled to fit; kept, dimmed, beside
//                      the summary until another program starts (surface_view.js)
//
// Around them: the stage's layout (layout.js), the figures panel (figures.js), the on-screen
// controls (controls.js), the seed field (seed_field.js), the Save buttons (downloads.js), the
// address's parameters (link.js), the page's texts in the chosen language (texts.js), the
// service worker (install.js) and the inspection API for tests (inspect.js). The controls hand
// their keys to the same entry as the keyboard's keydown.
//
// Ctrl-C ends the program at once, as on the desktop: the keydown goes to the program like any
// key, and the program's interrupt calls back `interrupted`; its waits are never answered again,
// the instance is dropped, and the chooser comes back with a notice.
//
// The page speaks one language at a time, and so do the programs it starts: a program starts
// with "--lang <language>", and a change of language starts the program on the stage again.
import * as ConsoleView from './console_view.js';
import * as Controls from './controls.js';
import * as Downloads from './downloads.js';
import * as Figures from './figures.js';
import * as Inspect from './inspect.js';
import './install.js';
import * as Layout from './layout.js';
import * as Link from './link.js';
import { ProgramRun } from './run.js';
import * as SeedField from './seed_field.js';
import * as SurfaceView from './surface_view.js';
import * as Texts from './texts.js';

const stage = document.getElementById('stage');
const chooser = document.getElementById('chooser');
const notice = document.getElementById('notice');
const consoleCanvas = document.getElementById('console');
const consoleText = document.getElementById('console-text');
const surfaceCanvas = document.getElementById('surface');
const endedBar = document.getElementById('ended');
const endedText = document.getElementById('ended-text');
const languageSwitch = document.getElementById('language');
const zoomChoice = document.getElementById('zoom');
const controlsToggle = document.getElementById('controls-toggle');
const saveButtons = document.getElementById('save');

const consoleView = ConsoleView.create(consoleCanvas, consoleText, document.getElementById('console-news'));
const surfaceView = SurfaceView.create(surfaceCanvas);
const figuresPanel = Figures.create(document.getElementById('figure-list'));
const controls = Controls.create(document.getElementById('controls'), {
  sendKey: (key, code) => sendKey(key, code),
  promptText: () => consoleView.promptText(),
  consoleText,
});
Controls.fillKeyTable(document.getElementById('about'));
const seedField = SeedField.create(document.getElementById('seed'), document.getElementById('seed-problem'), {
  onSeed: () => { if (current) startProgram(current.name); },
  onLeave: () => stage.focus(),
});

let current = null;        // the ProgramRun on the stage, or null (the chooser)
let noticeShown = null;    // what the chooser's notice says: { id, program }, or null

// ---------------------------------------------------------------------------------------------
// Programs on the stage.

// What a run asks of the page (run.js).
const runStage = {
  freeArea: (run) => {
    Layout.setMode('run', controls.update(run, null));
    figuresPanel.update(run.program, true);
    const area = Layout.screenBox();
    return { width: area.width, height: area.height, zoom: Number(zoomChoice.value) };
  },
  surfaceShown: (run) => {
    surfaceView.open(run.surfaceWidth, run.surfaceHeight);
    showScreen();
  },
  // The picture as the program left it stays on the canvas, kept beside the console.
  surfaceHidden: (run) => {
    surfaceView.paint(run.program);
    showScreen();
  },
  interrupted: (run) => { if (current === run) interruptProgram(); },
  ended: (run) => { if (current === run) showEnd(run); },
};

async function startProgram(name) {
  if (current) current.stop();
  const run = new ProgramRun(name, runStage);
  current = run;
  showNotice(null);
  endedBar.hidden = true;
  markCurrent(name);
  Link.write({ program: name });
  figuresPanel.forget();
  consoleView.attach(null);
  showScreen();
  await run.start(['--lang', Texts.currentLanguage(), '--seed', String(seedField.seed())], () => {
    if (current !== run) return;
    consoleView.attach(run.program);
    layout();
  });
  return run;
}

function showEnd(run) {
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
  Link.write({ program: null });
  showNotice(null);
  markCurrent(null);
  showScreen();
}

function showNotice(shown) {
  noticeShown = shown;
  notice.textContent = shown ? Texts.text(shown.id, { program: shown.program }) : '';
}

function markCurrent(name) {
  for (const button of document.querySelectorAll('#switch button')) {
    button.classList.toggle('current', button.dataset.program === name);
  }
}

for (const button of document.querySelectorAll('button[data-program]')) {
  button.addEventListener('click', () => { button.blur(); stage.focus(); startProgram(button.dataset.program); });
}
document.getElementById('again').addEventListener('click', () => {
  if (current) startProgram(current.name);
  stage.focus();
});
document.getElementById('back').addEventListener('click', backToChooser);

// ---------------------------------------------------------------------------------------------
// Keys. A key the program takes is kept from the browser; Ctrl-C has ended the run by then. The
// number field of the controls and the seed field take the keys that edit them.

window.addEventListener('keydown', (event) => {
  if (!current || event.isComposing || controls.ownsKey(event) || seedField.ownsKey(event)) return;
  const altGraph = Boolean(event.getModifierState && event.getModifierState('AltGraph'));
  const { key, code, shiftKey, ctrlKey, altKey, metaKey } = event;
  if (current.key({ key, code, shiftKey, ctrlKey, altKey, metaKey, altGraph })) event.preventDefault();
});

// A key from the page's controls, through the keyboard's entry: `key` and `code` as a keydown
// event gives them, with no modifier held. True when the program took it.
function sendKey(key, code) { return current !== null && current.key({ key, code }); }

// ---------------------------------------------------------------------------------------------
// Layout: the chooser, or the console, or the surface, or the console with the last picture
// beside it (layout.js); each picture centred and fitted in its place.

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
  saveButtons.hidden = mode !== 'summary' || !run.ready || run.program.keptFiles() === null;
  consoleCanvas.hidden = consoleText.hidden = mode !== 'text' && mode !== 'summary';
  layout();
}

function layout() {
  const run = current;
  if (!run || !run.ready) return;
  if (!consoleCanvas.hidden) consoleView.fit(Layout.screenBox(), window.devicePixelRatio || 1);
  if (!surfaceCanvas.hidden && (run.surfaceShown || run.pictureKept)) {
    surfaceView.fit(run.program, run.surfaceWidth, run.surfaceHeight,
                    run.surfaceShown ? Layout.screenBox() : Layout.slotBox());
  }
}
window.addEventListener('resize', layout);
Layout.watch(layout);

// ---------------------------------------------------------------------------------------------
// Repaint, once per display frame, of what changed; then the panels beside the screens: the
// figures while a run is on or kept (at once when the program waits), and the controls for what
// it waits for; the dock comes or goes with them.

function paint() {
  requestAnimationFrame(paint);
  const run = current;
  if (!run || !run.ready) return;
  if (!consoleCanvas.hidden) consoleView.paint({ cursorShown: !run.ended, waiting: run.waiting() });
  if (run.surfaceShown) surfaceView.paint(run.program);
  const mode = modeOf(run);
  if (mode === 'run' || mode === 'summary') figuresPanel.update(run.program, run.waiting());
  Layout.setMode(mode, controls.update(run, figuresPanel.figures()));
}
requestAnimationFrame(paint);

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

Downloads.offer(document.getElementById('save-picture'), document.getElementById('save-figures'),
                () => (current && current.ready ? current.program : null));

// ---------------------------------------------------------------------------------------------
// The language switch offers each language by its own name; a change goes into the address
// (link.js), so that a reload keeps it.

for (const code of Texts.languages()) languageSwitch.add(new Option(Texts.nameOf(code), code));
languageSwitch.value = Texts.currentLanguage();
Texts.onChange(() => showNotice(noticeShown));
languageSwitch.addEventListener('change', () => {
  Texts.setLanguage(languageSwitch.value);
  Link.write({ lang: Texts.currentLanguage() });
  languageSwitch.blur();
  stage.focus();
  if (current) startProgram(current.name);
});

// ---------------------------------------------------------------------------------------------
// The address's parameters (link.js): the zoom now, the program once the page has loaded.

zoomChoice.addEventListener('change', () => {
  Link.write({ zoom: zoomChoice.value === '1' ? null : zoomChoice.value });
});
const linked = Link.read();
if (linked.zoom) {
  if (!zoomChoice.querySelector(`option[value="${linked.zoom}"]`)) {
    zoomChoice.add(new Option(linked.zoom + '\u00D7', linked.zoom));
  }
  zoomChoice.value = String(linked.zoom);
}
seedField.show(linked.seed ?? 0);

Inspect.install({
  start: startProgram,
  current: () => current,
  consoleView,
  surfaceView,
  seedField,
  notice: () => notice.textContent,
  language: () => Texts.currentLanguage(),
});

if (linked.program) startProgram(linked.program);
