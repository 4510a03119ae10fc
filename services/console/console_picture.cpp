// The console picture: cells drawn with the console font into an 8-bit frame (see
// console_picture.h for the model).
#include "services/console/console_picture.h"

#include <algorithm>
#include <chrono>

#include "services/console/console_font.h"

namespace {

// The cursor's cell as 1-based (column, row), or (0, 0) when no cursor is drawn.
struct CursorCell {
  int column = 0, row = 0;
  bool at(int c, int r) const { return column == c && row == r; }
};

CursorCell cursor_cell(const ConsoleState& state, bool shown) {
  const bool on_screen = state.cursor_column >= 1 && state.cursor_column <= kConsoleColumns &&
                         state.cursor_row >= 1 && state.cursor_row <= kConsoleRows;
  if (!shown || !on_screen) return {};
  return {state.cursor_column, state.cursor_row};
}

bool same_cell(ConsoleCell a, ConsoleCell b) {
  return a.character == b.character && a.attribute == b.attribute;
}

}  // namespace

bool cursor_shown_at(HostTime now) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  return (ms / kCursorBlinkMs) % 2 == 0;
}

void ConsolePicture::set_font(int font_index) {
  font_index_ = std::clamp(font_index, 0, kConsoleFontCount - 1);
  const ConsoleFont& font = kConsoleFonts[font_index_];
  cell_width_ = font.width;
  cell_height_ = font.height;
  width_ = cell_width_ * kConsoleColumns;
  height_ = cell_height_ * kConsoleRows;
  frame_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  drawn_ = false;
}

// Background first, then the glyph's pixels in the foreground colour, then the cursor's rows.
void ConsolePicture::draw_cell(int column, int row, ConsoleCell cell, bool with_cursor) {
  const ConsoleFont& font = kConsoleFonts[font_index_];
  const auto foreground = static_cast<uint8_t>(cell.attribute & 0x0F);
  const auto background = static_cast<uint8_t>((cell.attribute >> 4) & 0x07);
  const int left = (column - 1) * cell_width_;
  const int top = (row - 1) * cell_height_;
  const int cursor_top = with_cursor ? cell_height_ - cursor_rows(cell_height_) : cell_height_;
  const int row_bytes = font.row_bytes();
  const uint8_t* glyph_row = font.glyph(cell.character);
  const uint8_t colours[2] = {background, foreground};
  for (int y = 0; y < cell_height_; ++y, glyph_row += row_bytes) {
    // The row's bits with the leftmost pixel at bit 31.
    uint32_t bits = 0;
    for (int b = 0; b < row_bytes; ++b) bits |= uint32_t{glyph_row[b]} << (24 - 8 * b);
    if (y >= cursor_top) bits = ~uint32_t{0};
    uint8_t* out = frame_.data() + static_cast<std::size_t>(top + y) * width_ + left;
    for (int x = 0; x < cell_width_; ++x, bits <<= 1) out[x] = colours[bits >> 31];
  }
}

// Cells are compared row by row; each run of changed cells in a row becomes one box, and the
// region merges boxes once it holds its most.
ChangedRegion ConsolePicture::update(const ConsoleState& state, bool cursor_shown) {
  ChangedRegion changed;
  if (font_index_ < 0) return changed;
  const CursorCell cursor = cursor_cell(state, cursor_shown);
  const CursorCell before{cursor_column_, cursor_row_};
  for (int row = 1; row <= kConsoleRows; ++row) {
    int run_start = 0;
    for (int column = 1; column <= kConsoleColumns + 1; ++column) {
      bool differs = false;
      if (column <= kConsoleColumns) {
        const ConsoleCell cell = state.cells[row - 1][column - 1];
        const bool with_cursor = cursor.at(column, row);
        differs = !drawn_ || !same_cell(cell, shown_cells_[row - 1][column - 1]) ||
                  with_cursor != before.at(column, row);
        if (differs) draw_cell(column, row, cell, with_cursor);
      }
      if (differs && run_start == 0) run_start = column;
      if (!differs && run_start != 0) {
        changed.add(SurfaceBox{(run_start - 1) * cell_width_, (row - 1) * cell_height_,
                               (column - 1) * cell_width_ - 1, row * cell_height_ - 1});
        run_start = 0;
      }
    }
  }
  shown_cells_ = state.cells;
  cursor_column_ = cursor.column;
  cursor_row_ = cursor.row;
  drawn_ = true;
  return changed;
}
