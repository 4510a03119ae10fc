// The boundary between the page and a program: the one module that loads a program, calls the
// functions it exports (services/web/web_page_api.cpp) and reads its memory. Every other module
// asks a Program.
//
// Each program is one script (zorvan2.js, zorvan.js) holding its WebAssembly and its data files;
// loading it defines a factory that makes a fresh instance of the program and starts its main.
// The instance gets a `host` object (run.js), whose methods the program's waits call.
//
// Memory: the program's memory may grow while it runs, which replaces its buffer, so a view of
// it is made afresh for every use and never kept past the call that made it. The program's
// code runs only while the page's does not (it waits between turns), so whatever is read is
// whole.
import { FIGURE_SLOTS } from './core_facts.js';

// Each program's script defines its factory under this name.
const FACTORIES = { zorvan2: 'create_zorvan2', zorvan: 'create_zorvan' };
// The programs the page can start, the first version last.
export const PROGRAM_NAMES = Object.keys(FACTORIES);
const loadedScripts = {};
const encoder = new TextEncoder();
const decoder = new TextDecoder();

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

// Starts program `name` with the command-line `args` and `host` for its waits; `onReady(program)`
// is called with the Program once its exports are there, just before its main starts.
export async function startProgram(name, host, args, onReady) {
  await loadScript(name);
  const module = { host, arguments: args,
                   print: (text) => console.log(text), printErr: (text) => console.warn(text) };
  module.onRuntimeInitialized = () => onReady(new Program(module));
  await window[FACTORIES[name]](module);
}

// A changed-box update of a picture: the RGBA frame as an ImageData and the boxes to put.
function pictureUpdate(module, count, rgba, width, height, boxes) {
  if (count === 0) return null;
  const buffer = module.HEAPU8.buffer;  // after the update, which may have grown the memory
  return { image: new ImageData(new Uint8ClampedArray(buffer, rgba, width * height * 4), width, height),
           boxes: new Int32Array(buffer, boxes, count * 4) };
}

class Program {
  constructor(module) {
    this.module = module;
    this.unicode = null;
    this.colours = null;
  }

  // A keydown event's key, code and modifiers: true when the program took it (the page then
  // keeps it from the browser). The key and code go into the program's own buffers: a program
  // that waits has its stack in use, so nothing is allocated on it.
  keyDown({ key = '', code = '', shiftKey = false, ctrlKey = false, altKey = false, metaKey = false,
            altGraph = false }) {
    const module = this.module, size = module._zorvan_key_text_size();
    [key, code].forEach((text, index) => {
      const start = module._zorvan_key_text(index);
      const { written } = encoder.encodeInto(text, module.HEAPU8.subarray(start, start + size - 1));
      module.HEAPU8[start + written] = 0;
    });
    return module._zorvan_key_down(shiftKey, ctrlKey, altKey, metaKey, altGraph) !== 0;
  }

  keyPending() { return this.module._zorvan_key_pending() !== 0; }
  turnCount() { return this.module._zorvan_turn_count(); }
  allocationCount() { return this.module._zorvan_allocation_count(); }

  // The console model: (character, attribute) byte pairs, row by row, a copy.
  consoleCells() {
    const start = this.module._zorvan_console_cells();
    return this.module.HEAPU8.slice(start, start + this.module._zorvan_console_cells_size());
  }
  // Grows whenever the console model changes.
  consoleVersion() { return this.module._zorvan_console_version(); }
  // The cursor's cell, 1-based.
  cursor() { return { column: this.module._zorvan_cursor_column(), row: this.module._zorvan_cursor_row() }; }
  // Code page 852 byte -> its character, as the program shows it.
  characters() {
    if (this.unicode === null) {
      this.unicode = Array.from({ length: 256 },
                                (_, byte) => String.fromCharCode(this.module._zorvan_cp852_unicode(byte)));
    }
    return this.unicode;
  }
  // The palette: 256 colours, 0xRRGGBB each.
  palette() {
    if (this.colours === null) {
      this.colours = Array.from({ length: 256 }, (_, index) => this.module._zorvan_palette_rgb(index) >>> 0);
    }
    return this.colours;
  }

  // The console picture (web_console_picture.h): fitted to a space of device pixels; its size;
  // what changed since the last update (null when nothing did); its palette indices, a copy.
  fitConsole(width, height) { this.module._zorvan_console_fit(width, height); }
  consoleSize() {
    return { width: this.module._zorvan_console_width(), height: this.module._zorvan_console_height() };
  }
  updateConsole(cursorShown) {
    const module = this.module, { width, height } = this.consoleSize();
    const count = module._zorvan_console_update(cursorShown ? 1 : 0);
    return pictureUpdate(module, count, module._zorvan_console_rgba(), width, height,
                         module._zorvan_console_boxes());
  }
  consoleIndices() {
    const { width, height } = this.consoleSize(), start = this.module._zorvan_console_indices();
    return this.module.HEAPU8.slice(start, start + width * height);
  }

  // The surface's picture (web_picture.h): its size, and what changed since the last update.
  pictureSize() {
    return { width: this.module._zorvan_picture_width(), height: this.module._zorvan_picture_height() };
  }
  updatePicture() {
    const module = this.module, { width, height } = this.pictureSize();
    const count = module._zorvan_picture_update();
    return pictureUpdate(module, count, module._zorvan_picture_rgba(), width, height,
                         module._zorvan_picture_boxes());
  }
  // The open surface's palette indices, a copy, or null when it is closed.
  surface() {
    const module = this.module, pointer = module._zorvan_surface_indices();
    if (pointer === 0) return null;
    const width = module._zorvan_surface_width(), height = module._zorvan_surface_height();
    return { width, height, indices: module.HEAPU8.slice(pointer, pointer + width * height) };
  }

  // Where a picture goes in a space, by the desktop window's rule: { x, y, width, height,
  // crisp } (crisp: a whole multiple).
  place(pictureWidth, pictureHeight, outputWidth, outputHeight) {
    const module = this.module;
    const start = module._zorvan_place_picture(pictureWidth, pictureHeight, outputWidth, outputHeight);
    const [x, y, width, height, crisp] = new Int32Array(module.HEAPU8.buffer, start, 5);
    return { x, y, width, height, crisp: crisp !== 0 };
  }

  // The run's figures now, by the names of their slots.
  figures() {
    const values = new Float64Array(this.module.HEAPU8.buffer, this.module._zorvan_figures(), FIGURE_SLOTS.length);
    return Object.fromEntries(FIGURE_SLOTS.map((name, index) => [name, values[index]]));
  }

  // The files kept at the run's end (services/program/run_files.h): { name, picture, figures } (the PNG
  // and the CSV as bytes), or null before a run has ended.
  keptFiles() {
    const module = this.module, heap = module.HEAPU8;
    const pictureSize = module._zorvan_kept_picture_size(), figuresSize = module._zorvan_kept_figures_size();
    if (pictureSize === 0 || figuresSize === 0) return null;
    const picture = module._zorvan_kept_picture(), figures = module._zorvan_kept_figures();
    const name = module._zorvan_kept_name();
    let end = name;
    while (heap[end] !== 0) ++end;
    return { name: decoder.decode(heap.subarray(name, end)),
             picture: heap.slice(picture, picture + pictureSize),
             figures: heap.slice(figures, figures + figuresSize) };
  }
}
