// One run of a program in the page: the host object whose methods the program's waits call
// (services/web/web_host.h tells the program's side), and the run's state as the page shows it.
//
// The program's waits call the host (waitForKey, sleep, yieldTurn) and stay suspended until the
// host wakes them; its surface's opening and closing and its end call the host too. The page
// itself never blocks: what the run asks of the page goes to the `stage` it was given:
//   stage.freeArea(run)      the page's free area for the run's picture: { width, height, zoom }
//   stage.surfaceShown(run)  the surface opened (run.surfaceWidth x run.surfaceHeight)
//   stage.surfaceHidden(run) the surface closed for the summary; its last picture is kept
//   stage.interrupted(run)   Ctrl-C: the run is over at once
//   stage.ended(run)         the program has ended (run.exitCode, run.message)
//
// States: loading, running, key-wait (a key and nothing else wakes it), timed-key-wait (a key or
// its timer), sleep, yield, ended. An ended run is never woken again.
import { startProgram } from './program.js';

// Zero-delay continuations through a message channel: unlike timers they are never clamped,
// and the browser still renders and delivers input between two of them.
const continuations = [];
const channel = new MessageChannel();
channel.port1.onmessage = () => { const next = continuations.shift(); if (next) next(); };
export function soon(callback) { continuations.push(callback); channel.port2.postMessage(0); }

export class ProgramRun {
  constructor(name, stage) {
    this.name = name;
    this.stage = stage;
    this.program = null;        // the Program (program.js), once its exports are there
    this.ready = false;
    this.state = 'loading';
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

  // Loads and starts the program with `args`; `onReady(run)` once it can be asked.
  start(args, onReady) {
    return startProgram(this.name, this, args, (program) => {
      this.program = program;
      this.ready = true;
      if (this.ended) return;  // stopped while it loaded: it stays stopped
      this.state = 'running';
      onReady(this);
    });
  }

  // True while the program waits for a key or at a page prompt, or has ended: what the page
  // shows then is what the program shows.
  waiting() { return this.state === 'key-wait' || this.state === 'sleep' || this.ended; }

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
    if (this.ended) return;
    this.state = 'running';
    wakeUp();
  }

  // The surface's first opening measures the free area the run's layout leaves.
  freeArea() {
    this.measuring = true;
    return this.stage.freeArea(this);
  }
  showSurface(width, height) {
    this.surfaceShown = true;
    this.measuring = false;
    this.pictureKept = false;
    this.surfaceWidth = width;
    this.surfaceHeight = height;
    this.stage.surfaceShown(this);
  }
  hideSurface() {
    this.surfaceShown = false;
    this.pictureKept = true;
    this.stage.surfaceHidden(this);
  }
  // Ctrl-C, from the program's interrupt while the page hands it the keydown.
  interrupted() { this.stage.interrupted(this); }
  programEnded(exitCode, message) {
    this.ended = true;
    this.state = 'ended';
    this.exitCode = exitCode;
    this.message = message;
    soon(() => this.stage.ended(this));
  }

  // Hands the program a keydown (program.js); true when it took it, and its key wait wakes.
  key(event) {
    if (!this.ready || this.ended || !this.program.keyDown(event)) return false;
    if (!this.ended) this.keyArrived();
    return true;
  }

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
