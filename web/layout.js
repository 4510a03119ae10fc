// The stage's layout: what shows where, on a laptop, a projector, a tablet or a phone, either way
// round.
//
// The stage (page.css) is a grid of the screen, the dock and the bar that closes an ended
// program. The screen is the free area: it holds the console, or during the run the picture,
// each fitted into it by page.js. The dock holds what goes beside them: the last picture of the
// run once the summary has closed it (the picture slot), the figures panel and the controls. It
// stands at the right where the page is wide (the console and the picture are wider than tall)
// and below the screen otherwise; it shows only when it holds something.
//
//   mode      the screen shows     the dock shows
//   chooser   (the chooser instead of screen and dock)
//   text      the console          the controls of a page or number prompt, when they are on
//   run       the picture          the figures, the run's controls when they are on
//   summary   the console          the last picture (dimmed), the figures, the page controls
//
// A phone held upright is told once to turn sideways; the notice goes when it turns.
const stage = document.getElementById('stage');
const screen = document.getElementById('screen');
const dock = document.getElementById('dock');
const slot = document.getElementById('picture-slot');
const figuresPanel = document.getElementById('figures');
const turnNotice = document.getElementById('turn-notice');
const uprightPhone = window.matchMedia('(orientation: portrait) and (max-width: 599px)');
const touchScreenQuery = window.matchMedia('(any-pointer: coarse)');
let turnToldAlready = false;
let shown = null;  // the mode and controls last shown, so that a repeat touches nothing

// Shows `mode`; `controls` tells whether the controls show a group. Called on every frame.
function setMode(mode, controls) {
  if (shown && shown.mode === mode && shown.controls === controls) return;
  shown = { mode, controls };
  stage.dataset.mode = mode;
  const figures = mode === 'run' || mode === 'summary';
  figuresPanel.hidden = !figures;
  slot.hidden = mode !== 'summary';
  dock.hidden = !(figures || controls);
  tellTurn(mode !== 'chooser');
}

// The box of `element` in the stage's coordinates, CSS pixels.
function boxOf(element) {
  const outer = stage.getBoundingClientRect(), inner = element.getBoundingClientRect();
  return { left: Math.round(inner.left - outer.left), top: Math.round(inner.top - outer.top),
           width: Math.floor(inner.width), height: Math.floor(inner.height) };
}

// The upright-phone notice, once, while a program is on the stage.
function tellTurn(programShown) {
  const show = programShown && uprightPhone.matches && !turnToldAlready;
  if (turnNotice.hidden === show) turnNotice.hidden = !show;
}
document.getElementById('turn-ok').addEventListener('click', () => {
  turnToldAlready = true;
  turnNotice.hidden = true;
});
uprightPhone.addEventListener('change', () => {
  if (!uprightPhone.matches && !turnNotice.hidden) {
    turnToldAlready = true;
    turnNotice.hidden = true;
  }
});

// Calls `relayout` whenever the screen or the picture slot changes size: the window resized or
// turned, the dock or a notice came or went.
function watch(relayout) {
  const observer = new ResizeObserver(() => relayout());
  observer.observe(screen);
  observer.observe(slot);
}

export { setMode, watch };
export const screenBox = () => boxOf(screen);
export const slotBox = () => boxOf(slot);
// True on a device with a touchscreen: the controls are on from the start.
export const touchScreen = () => touchScreenQuery.matches || navigator.maxTouchPoints > 0;
