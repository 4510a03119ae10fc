// The text console in the page: the program's own picture of it on a canvas, and its text
// beside the picture for reading aloud, selecting and copying.
//
// The picture is drawn by the program (the core's console picture, the same bitmap font and the
// same pixels as the desktop's window): the page only says how much room there is, sizes the
// canvas to the picture, and at each repaint puts onto the canvas the rectangles the program
// names, from the program's RGBA copy of the picture. The program picks the largest font that
// fits the room at a whole multiple; CSS shows the canvas at that multiple of device pixels,
// crisp, or shrunk and smoothed when even the smallest font does not fit. No font of the
// browser is used for the picture, so it is the same on every device and in every browser.
//
// The text mirror is a <pre> of the console's rows laid over the canvas, cell for cell, in
// transparent letters: a selection shows over the picture and copies the console's text, and a
// screen reader reads the rows. A live region announces what a new page or a new prompt brings
// when the program starts to wait: the rows that changed since the last announcement, without
// the frame's lines and shades. The page prompt's spinner turning and the digits typed at a
// number prompt (on the row the cursor stood on at the last announcement) announce nothing.
import { putBoxes } from './canvas_boxes.js';
import { CONSOLE_COLUMNS, CONSOLE_ROWS, SPINNER_SHAPES } from './core_facts.js';

// The frame's box drawing, shades and blocks: not read aloud.
const FRAME_CHARACTERS = /[\u2500-\u259f]/g;

// Row `row` (0-based) of the console model `cells` as text, through `characters`.
function rowText(cells, characters, row) {
  let text = '';
  for (let column = 0; column < CONSOLE_COLUMNS; ++column) {
    text += characters[cells[(row * CONSOLE_COLUMNS + column) * 2]];
  }
  return text;
}

// `canvas` shows the picture, `mirror` (a <pre>) holds the text, `news` is the live region.
export function create(canvas, mirror, news) {
  let program = null;      // the program whose console is shown (program.js)
  let version = -1;        // the console model's version `rows` are of
  let rows = [];           // the console's rows as text
  let mirrored = null;     // the rows the mirror shows
  let announced = null;    // the rows as last announced (null: nothing yet)
  let announcedRow = -1;   // the cursor's row then

  const rowElements = [];
  mirror.textContent = '';
  for (let row = 0; row < CONSOLE_ROWS; ++row) {
    const element = document.createElement('div');
    element.textContent = ' ';
    rowElements.push(mirror.appendChild(element));
  }

  // A program starts (null: none is shown): its console is shown from scratch, and nothing of
  // the last one's text stays.
  function attach(shown) {
    program = shown;
    rows = [];
    mirrored = null;
    for (const element of rowElements) element.textContent = ' ';
    news.textContent = '';
    version = -1;
    announced = null;
    announcedRow = -1;
  }

  function textRows() {
    const cells = program.consoleCells(), characters = program.characters();
    return Array.from({ length: CONSOLE_ROWS }, (_, row) => rowText(cells, characters, row));
  }

  // Fits the picture into `area` (CSS pixels, in the stage's coordinates) at `ratio` device
  // pixels a CSS pixel, by the program's rules: the font, then the place (the desktop's rule
  // for its window). The canvas is resized (and so cleared) only when the picture's size
  // changes, and the program then redraws every cell.
  function fit(area, ratio) {
    if (program === null) return;
    const deviceWidth = Math.floor(area.width * ratio), deviceHeight = Math.floor(area.height * ratio);
    program.fitConsole(deviceWidth, deviceHeight);
    const { width, height } = program.consoleSize();
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const place = program.place(width, height, deviceWidth, deviceHeight);
    const box = { left: area.left + place.x / ratio, top: area.top + place.y / ratio,
                  width: place.width / ratio, height: place.height / ratio };
    for (const element of [canvas, mirror]) {
      element.style.left = box.left + 'px';
      element.style.top = box.top + 'px';
      element.style.width = box.width + 'px';
      element.style.height = box.height + 'px';
    }
    canvas.classList.toggle('crisp', place.crisp);
    mirror.style.setProperty('--cell-width', box.width / CONSOLE_COLUMNS + 'px');
    mirror.style.setProperty('--cell-height', box.height / CONSOLE_ROWS + 'px');
  }

  // Puts onto the canvas what changed in the picture since the last repaint; the cursor blinks
  // while `cursorShown`.
  function paintPicture(cursorShown) {
    const update = program.updateConsole(cursorShown);
    if (update !== null) putBoxes(canvas, update);
  }

  // The console's rows of text, read again only when the console model has changed.
  function currentRows() {
    const now = program.consoleVersion();
    if (now !== version) {
      version = now;
      rows = textRows();
    }
    return rows;
  }

  // The mirror's rows, where they changed.
  function mirrorText() {
    if (currentRows() === mirrored) return;
    mirrored = rows;
    rows.forEach((text, row) => {
      if (rowElements[row].textContent !== text) rowElements[row].textContent = text;
    });
  }

  // The rows as announced: the spinner, just left of the cursor at the page prompt, blank.
  function rowsToAnnounce() {
    const cursor = program.cursor(), cursorRow = cursor.row - 1, spinner = cursor.column - 2;
    const shown = rows.slice();
    const row = shown[cursorRow];
    if (row !== undefined && spinner >= 0 && SPINNER_SHAPES.includes(row[spinner])) {
      shown[cursorRow] = row.slice(0, spinner) + ' ' + row.slice(spinner + 1);
    }
    return { shown, cursorRow };
  }

  // Called while the program waits: announces the rows a new page or prompt has changed.
  function announce() {
    const { shown, cursorRow } = rowsToAnnounce();
    const changed = shown.map((text, row) => announced === null || text !== announced[row]);
    const typing = announced !== null && cursorRow === announcedRow &&
                   changed.every((on, row) => !on || row === cursorRow);
    announced = shown;
    if (typing || !changed.includes(true)) return;
    announcedRow = cursorRow;
    const lines = shown.filter((_, row) => changed[row])
      .map((text) => text.replace(FRAME_CHARACTERS, ' ').replace(/\s+/g, ' ').trim())
      .filter((text) => text !== '');
    if (lines.length === 0) return;
    // The same words again (a prompt after a refused answer) must change the region, or a
    // screen reader would not read them again.
    const text = lines.join('\n');
    news.textContent = news.textContent === text ? text + '\u00A0' : text;
  }

  // One repaint: the picture, the mirror, and an announcement when the program waits.
  function paint({ cursorShown, waiting }) {
    if (program === null) return;
    paintPicture(cursorShown);
    mirrorText();
    if (waiting) announce();
  }

  // The first pixel where the canvas differs from the program's whole picture (its palette
  // indices through the palette), as "x,y", or null when they are equal.
  function repaintDifference() {
    const width = canvas.width, indices = program.consoleIndices(), palette = program.palette();
    const shown = canvas.getContext('2d').getImageData(0, 0, width, canvas.height).data;
    for (let i = 0; i < indices.length; ++i) {
      const rgb = palette[indices[i]], q = i * 4;
      if (shown[q] !== (rgb >>> 16 & 255) || shown[q + 1] !== (rgb >>> 8 & 255) ||
          shown[q + 2] !== (rgb & 255) || shown[q + 3] !== 255) {
        return `${i % width},${Math.floor(i / width)}`;
      }
    }
    return null;
  }

  return {
    attach,
    fit,
    paint,
    repaintDifference,
    cells: () => program.consoleCells(),
    // The console as its rows of text, each ended by a line end.
    text: () => textRows().map((row) => row + '\n').join(''),
    // The console's text left of the cursor, on the cursor's row: the prompt being answered,
    // without the frame's lines and shades.
    promptText: () => {
      const cursor = program.cursor();
      return currentRows()[cursor.row - 1].slice(0, cursor.column - 1).replace(FRAME_CHARACTERS, '')
        .trim();
    },
    mirrorRows: () => rowElements.map((element) => element.textContent),
    news: () => news.textContent.trim(),
    // What the canvas holds: { width, height, rgba }.
    pixels: () => ({ width: canvas.width, height: canvas.height,
                     rgba: canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data }),
  };
}
