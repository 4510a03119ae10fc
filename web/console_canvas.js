// The text console's cells on a canvas: the font fitted to the space, and one cell painted.
//
// The canvas is measured in device pixels and every cell is a whole number of them, so no two
// cells share a pixel. A cell is as wide as the font's advance and as tall as the font's tallest
// glyphs reach above and below the baseline (the accents of capital letters, descenders, the
// box-drawing lines that join from row to row). A cell is painted whole: its background, then
// its glyph clipped to the cell. Painting a cell therefore sets exactly its own pixels, the same
// whatever was painted before, and a canvas repainted cell by cell where the console changed
// shows what a repaint of every cell shows.
//
// Shades and blocks fill their cell as on the PC screen instead of taking a font's glyph.
'use strict';

window.ZorvanConsoleCanvas = (function () {
  const COLUMNS = 80, ROWS = 25;
  const FONT_FAMILY = '"DejaVu Sans Mono", "Liberation Mono", Consolas, "Courier New", monospace';
  const LARGEST_FONT = 40, SMALLEST_FONT = 4;  // CSS pixels
  // Glyphs that reach furthest from the baseline in code page 852: accented capitals, the
  // descenders, the box drawing and block characters.
  const TALL_GLYPHS = '\u00C9\u0150\u0170\u00C1\u00D3\u00CD\u00DA\u010C\u0158\u017D\u00C5' +
                      'gjpqy\u00E7\u0105\u0119\u2502\u2551\u256C\u2588\u2593_|';

  const SHADES = { 176: 0.25, 177: 0.5, 178: 0.75 };
  const BLOCKS = { 219: [0, 0, 1, 1], 220: [0, 0.5, 1, 0.5], 221: [0, 0, 0.5, 1],
                   222: [0.5, 0, 0.5, 1], 223: [0, 0, 1, 0.5] };

  // The cell of a font `size` device pixels high: width, height and baseline in device pixels.
  function measure(context, size) {
    const font = size + 'px ' + FONT_FAMILY;
    context.font = font;
    context.textBaseline = 'alphabetic';
    const advance = context.measureText('M').width;
    const tall = context.measureText(TALL_GLYPHS);
    const ascent = Math.max(tall.actualBoundingBoxAscent, tall.fontBoundingBoxAscent || 0);
    const descent = Math.max(tall.actualBoundingBoxDescent, tall.fontBoundingBoxDescent || 0);
    const baseline = Math.ceil(ascent);
    return { width: Math.ceil(advance), height: baseline + Math.ceil(descent), baseline, font };
  }

  // The largest cell whose 80 x 25 fit `width` x `height` CSS pixels at `ratio` device pixels a
  // CSS pixel. Sizes the canvas to the cells and answers the cell and the CSS size the canvas
  // is shown at: the device size itself, or shrunk to fit when even the smallest font is too
  // large.
  function fit(canvas, width, height, ratio) {
    const context = canvas.getContext('2d');
    let cell = null;
    const smallest = Math.round(SMALLEST_FONT * ratio);
    for (let size = Math.round(LARGEST_FONT * ratio); size >= smallest; --size) {
      cell = measure(context, size);
      if (cell.width * COLUMNS <= width * ratio && cell.height * ROWS <= height * ratio) break;
    }
    canvas.width = cell.width * COLUMNS;
    canvas.height = cell.height * ROWS;
    const shrink = Math.min(1, width * ratio / canvas.width, height * ratio / canvas.height);
    return { cell, cssWidth: canvas.width / ratio * shrink,
             cssHeight: canvas.height / ratio * shrink };
  }

  // Paints one cell: `character` a code page 852 byte shown as `text`, `attribute` the PC's
  // colour byte (background in bits 4-6, foreground in bits 0-3) through `palette`.
  function paintCell(context, cell, column, row, character, attribute, text, palette) {
    const x = column * cell.width, y = row * cell.height;
    context.save();
    context.beginPath();
    context.rect(x, y, cell.width, cell.height);
    context.clip();
    context.globalAlpha = 1;
    context.fillStyle = palette[(attribute >> 4) & 7];
    context.fillRect(x, y, cell.width, cell.height);
    context.fillStyle = palette[attribute & 15];
    if (character in SHADES) {
      context.globalAlpha = SHADES[character];
      context.fillRect(x, y, cell.width, cell.height);
    } else if (character in BLOCKS) {
      const [left, top, width, height] = BLOCKS[character];
      context.fillRect(x + left * cell.width, y + top * cell.height,
                       width * cell.width, height * cell.height);
    } else if (character !== 32 && character !== 0) {
      context.font = cell.font;
      context.textBaseline = 'alphabetic';
      context.fillText(text, x, y + cell.baseline);
    }
    context.restore();
  }

  return { COLUMNS, ROWS, fit, paintCell };
})();
