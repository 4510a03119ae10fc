// The console as a picture: the 80x25 cells drawn with a bitmap font into an 8-bit frame of
// palette indices, the same in every edition that shows the console as pixels (the desktop's own
// window, the page's canvas).
//
// The font (console_font.h) comes in several sizes; an edition asks console_font_for which one
// shows largest in the space it has, crisp at a whole multiple, and gives it to the picture. A
// cell is font width x font height pixels; cell (column c, row r), both 1-based, covers
// x = (c - 1) * width .. c * width - 1 and y = (r - 1) * height .. r * height - 1. A cell is drawn
// whole: its background colour (attribute bits 4-6), then the glyph's set pixels in its
// foreground colour (bits 0-3). The frame's pixels are the palette's indices 0-15, which are the
// console's 16 text colours (services/graphics/surface.h, kPalette), so an edition converts the
// console picture exactly as it converts the surface.
//
// The cursor is an underline across the bottom rows of its cell, kCursorRows(height) of them, in
// the cell's foreground colour, drawn only while the edition says it is shown (it blinks with
// cursor_shown_at). The cursor stands where the model's cursor is, also when that cell lies
// outside the window the program writes to.
//
// An update draws only the cells that differ from the picture's last update (character,
// attribute, or the cursor coming or going), and answers where the frame changed, so an edition
// converts and shows only those boxes. A frame updated cell by cell after any sequence of writes
// equals a frame drawn whole from the same state.
#pragma once

#include <cstdint>
#include <vector>

#include "services/console/console.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"

// The cursor's blink: shown for this long, then hidden for as long.
constexpr int kCursorBlinkMs = 530;

// Whether a blinking cursor is shown at `now` on the host's clock.
bool cursor_shown_at(HostTime now);

// Rows of a cell of `cell_height` pixels that the cursor covers: one eighth of the cell, at least
// two, as a PC's text cursor covers the two bottom scan lines of a 16-line cell.
constexpr int cursor_rows(int cell_height) { return cell_height >= 16 ? cell_height / 8 : 2; }

class ConsolePicture {
 public:
  // Uses the font `font_index` (console_font.h) from now on: the frame is resized to 80 x 25
  // cells of it, and the next update draws every cell.
  void set_font(int font_index);
  int font_index() const { return font_index_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int cell_width() const { return cell_width_; }
  int cell_height() const { return cell_height_; }
  // The frame: palette indices 0-15, row-major, width() per row.
  const uint8_t* pixels() const { return frame_.data(); }

  // Draws the cells of `state` that changed since the last update, and the cursor when
  // `cursor_shown`, and answers the frame's changed boxes (empty when nothing changed). Without a
  // font set the frame is empty and nothing changes.
  ChangedRegion update(const ConsoleState& state, bool cursor_shown);

 private:
  void draw_cell(int column, int row, ConsoleCell cell, bool with_cursor);

  int font_index_ = -1;
  int width_ = 0, height_ = 0;
  int cell_width_ = 0, cell_height_ = 0;
  std::vector<uint8_t> frame_;
  // What the frame shows: the cells of the last update and where its cursor stood (0 when
  // none); drawn_ false until the first update after set_font.
  ConsoleCells shown_cells_{};
  int cursor_column_ = 0, cursor_row_ = 0;
  bool drawn_ = false;
};
