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
// The text mirror is a <pre> of the console's 25 rows laid over the canvas, cell for cell, in
// transparent letters: a selection shows over the picture and copies the console's text, and a
// screen reader reads the rows. A live region announces what a new page or a new prompt brings
// when the program starts to wait: the rows that changed since the last announcement, without
// the frame's lines and shades. The page prompt's spinner turning and the digits typed at a
// number prompt (on the row the cursor stood on at the last announcement) announce nothing.
'use strict';

window.ZorvanConsoleView = (function () {
  const COLUMNS = 80, ROWS = 25;
  const SPINNER = '-\\|/';
  // The frame's box drawing, shades and blocks: not read aloud.
  const FRAME_CHARACTERS = /[\u2500-\u259f]/g;

  // `canvas` shows the picture, `mirror` (a <pre>) holds the text, `news` is the live region.
  function create(canvas, mirror, news) {
    let module = null;       // the program whose console is shown
    let unicode = null;      // its code page 852 table, byte -> character
    let version = -1;        // the console model's version the mirror shows
    let rows = [];           // the mirror's rows as text
    let announced = null;    // the rows as last announced (null: nothing yet)
    let announcedRow = -1;   // the cursor's row then

    const rowElements = [];
    mirror.textContent = '';
    for (let row = 0; row < ROWS; ++row) {
      const element = document.createElement('div');
      element.textContent = ' ';
      rowElements.push(mirror.appendChild(element));
    }

    // A program starts (null: none is shown): its console is shown from scratch, and nothing of
    // the last one's text stays.
    function attach(program) {
      module = program;
      rows = [];
      for (const element of rowElements) element.textContent = ' ';
      news.textContent = '';
      unicode = null;
      version = -1;
      announced = null;
      announcedRow = -1;
    }

    function characters() {
      if (unicode === null) {
        unicode = [];
        for (let byte = 0; byte < 256; ++byte) {
          unicode.push(String.fromCharCode(module._zorvan_cp852_unicode(byte)));
        }
      }
      return unicode;
    }

    // The program's console model: 4000 bytes, (character, attribute) per cell, row by row.
    function cells() {
      const start = module._zorvan_console_cells();
      return module.HEAPU8.subarray(start, start + COLUMNS * ROWS * 2);
    }

    // Row `row` (0-based) of the console as text.
    function rowText(model, row) {
      const table = characters();
      let text = '';
      for (let column = 0; column < COLUMNS; ++column) {
        text += table[model[(row * COLUMNS + column) * 2]];
      }
      return text;
    }

    // Fits the picture into `area` (CSS pixels, in the stage's coordinates) at `ratio` device
    // pixels a CSS pixel, by the program's rules: the font, then the place (the desktop's rule
    // for its window). The canvas is resized (and so cleared) only when the picture's size
    // changes, and the program then redraws every cell.
    function fit(area, ratio) {
      if (module === null) return;
      const deviceWidth = Math.floor(area.width * ratio), deviceHeight = Math.floor(area.height * ratio);
      module._zorvan_console_fit(deviceWidth, deviceHeight);
      const width = module._zorvan_console_width(), height = module._zorvan_console_height();
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
      }
      const place = new Int32Array(module.HEAPU8.buffer,
                                   module._zorvan_place_picture(width, height, deviceWidth, deviceHeight), 5);
      const box = { left: area.left + place[0] / ratio, top: area.top + place[1] / ratio,
                    width: place[2] / ratio, height: place[3] / ratio };
      for (const element of [canvas, mirror]) {
        element.style.left = box.left + 'px';
        element.style.top = box.top + 'px';
        element.style.width = box.width + 'px';
        element.style.height = box.height + 'px';
      }
      canvas.classList.toggle('crisp', place[4] !== 0);
      mirror.style.setProperty('--cell-width', box.width / COLUMNS + 'px');
      mirror.style.setProperty('--cell-height', box.height / ROWS + 'px');
    }

    // Puts onto the canvas what changed in the picture since the last repaint; the cursor blinks
    // while `cursorShown`.
    function paintPicture(cursorShown) {
      const count = module._zorvan_console_update(cursorShown ? 1 : 0);
      if (count === 0) return;
      const width = module._zorvan_console_width(), height = module._zorvan_console_height();
      const buffer = module.HEAPU8.buffer;  // after the update, which may have grown the memory
      const image = new ImageData(new Uint8ClampedArray(buffer, module._zorvan_console_rgba(), width * height * 4),
                                  width, height);
      const boxes = new Int32Array(buffer, module._zorvan_console_boxes(), count * 4);
      const context = canvas.getContext('2d');
      for (let i = 0; i < count * 4; i += 4) {
        context.putImageData(image, 0, 0, boxes[i], boxes[i + 1], boxes[i + 2], boxes[i + 3]);
      }
    }

    // The mirror's rows, where the console model changed.
    function mirrorText() {
      const now = module._zorvan_console_version();
      if (now === version) return;
      version = now;
      const model = cells();
      rows = [];
      for (let row = 0; row < ROWS; ++row) {
        const text = rowText(model, row);
        rows.push(text);
        if (rowElements[row].textContent !== text) rowElements[row].textContent = text;
      }
    }

    // The rows as announced: the spinner, just left of the cursor at the page prompt, blank.
    function rowsToAnnounce() {
      const cursorRow = module._zorvan_cursor_row() - 1, spinner = module._zorvan_cursor_column() - 2;
      const shown = rows.slice();
      const row = shown[cursorRow];
      if (row !== undefined && spinner >= 0 && SPINNER.includes(row[spinner])) {
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
      if (module === null) return;
      paintPicture(cursorShown);
      mirrorText();
      if (waiting) announce();
    }

    return {
      COLUMNS,
      ROWS,
      attach,
      fit,
      paint,
      cells: () => cells().slice(),
      // The console as 25 lines of text.
      text: () => {
        const model = cells();
        let text = '';
        for (let row = 0; row < ROWS; ++row) text += rowText(model, row) + '\n';
        return text;
      },
      // The console's text left of the cursor, on the cursor's row: the prompt being answered,
      // without the frame's lines and shades.
      promptText: () => {
        const row = rowText(cells(), module._zorvan_cursor_row() - 1);
        return row.slice(0, module._zorvan_cursor_column() - 1).replace(FRAME_CHARACTERS, '').trim();
      },
      mirrorRows: () => rowElements.map((element) => element.textContent),
      news: () => news.textContent.trim(),
      // The first pixel where the canvas differs from the program's whole picture (its palette
      // indices through the palette), as "x,y", or null when they are equal.
      repaintDifference: () => {
        const width = canvas.width, height = canvas.height;
        const start = module._zorvan_console_indices();
        const indices = module.HEAPU8.subarray(start, start + width * height);
        const shown = canvas.getContext('2d').getImageData(0, 0, width, height).data;
        const palette = Array.from({ length: 256 }, (_, index) => module._zorvan_palette_rgb(index) >>> 0);
        for (let i = 0; i < indices.length; ++i) {
          const rgb = palette[indices[i]];
          const q = i * 4;
          if (shown[q] !== (rgb >>> 16 & 255) || shown[q + 1] !== (rgb >>> 8 & 255) ||
              shown[q + 2] !== (rgb & 255) || shown[q + 3] !== 255) {
            return `${i % width},${Math.floor(i / width)}`;
          }
        }
        return null;
      },
      // What the canvas holds, RGBA, with its size.
      pixels: () => ({ width: canvas.width, height: canvas.height,
                       rgba: canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data }),
    };
  }

  return { create };
})();
