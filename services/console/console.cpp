// The console's cell model and its write rules.
//
// The model is one ConsoleState: 25 rows of 80 cells, each a code page 852 byte with its
// attribute, the current window (1-based, inclusive, absolute screen cells), the cursor (absolute,
// always inside the window) and the current attribute. Callers see the cursor window-relative.
//
// Every byte written goes through put_byte, which applies the control-byte rules, the immediate
// wrap past the window's right column and the window-only scroll past its bottom row. Public
// operations that change cells or the cursor present the model once when they end, never per
// byte, so a backend redraws a whole statement at a time.
//
// The console belongs to the logic thread; nothing here is locked.
#include "services/console/console.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "services/text/cp852.h"
#include "services/program/host.h"

namespace {

ConsoleState state;

constexpr uint8_t kBell = 7, kBackspace = 8, kLineFeed = 10, kCarriageReturn = 13;

ConsoleCell& cell(int column, int row) { return state.cells[row - 1][column - 1]; }

void fill_row(int row, int left, int right) {
  for (int column = left; column <= right; ++column) cell(column, row) = {' ', state.attribute};
}

// Moves the window's rows up by one; the new bottom row is blank in the current attribute.
void scroll_window() {
  for (int row = state.window_top; row < state.window_bottom; ++row) {
    for (int column = state.window_left; column <= state.window_right; ++column) {
      cell(column, row) = cell(column, row + 1);
    }
  }
  fill_row(state.window_bottom, state.window_left, state.window_right);
}

// One row down; past the bottom row the window scrolls and the cursor stays on the bottom row.
void line_feed() {
  if (state.cursor_row < state.window_bottom) {
    ++state.cursor_row;
  } else {
    scroll_window();
  }
}

void put_byte(uint8_t byte) {
  switch (byte) {
    case kBell:
      return;
    case kBackspace:
      if (state.cursor_column > state.window_left) --state.cursor_column;
      return;
    case kLineFeed:
      line_feed();
      return;
    case kCarriageReturn:
      state.cursor_column = state.window_left;
      return;
    default:
      cell(state.cursor_column, state.cursor_row) = {byte, state.attribute};
      if (++state.cursor_column > state.window_right) {
        state.cursor_column = state.window_left;
        line_feed();
      }
  }
}

void put_padding(std::size_t length, int width) {
  for (std::size_t i = length; i < static_cast<std::size_t>(std::max(width, 0)); ++i) put_byte(' ');
}

bool inside_window(int column, int row) {
  return column >= state.window_left && column <= state.window_right &&
         row >= state.window_top && row <= state.window_bottom;
}

}  // namespace

const ConsoleState& console_state() { return state; }

std::string console_screen_text() {
  std::string text;
  for (int row = 1; row <= kConsoleRows; ++row) {
    std::string bytes;
    for (const ConsoleCell& c : state.cells[row - 1])
      bytes.push_back(static_cast<char>(c.character));
    text += cp852_to_utf8(bytes);
    text += '\n';
  }
  return text;
}

std::string console_row_text(int row) {
  if (row < 1 || row > kConsoleRows) return {};
  std::string bytes;
  for (const ConsoleCell& c : state.cells[row - 1]) bytes.push_back(static_cast<char>(c.character));
  bytes.erase(bytes.find_last_not_of(' ') + 1);
  return cp852_to_utf8(bytes);
}

void reset_console() {
  state = ConsoleState{};
  reset_line_input();
}

void console_present() {
  if (host().console != nullptr) host().console->present(state);
}

// Ignored unless 1 <= x1 <= x2 <= 80 and 1 <= y1 <= y2 <= 25; the previous window stays.
void console_window(int x1, int y1, int x2, int y2) {
  if (x1 < 1 || y1 < 1 || x1 > x2 || y1 > y2 || x2 > kConsoleColumns || y2 > kConsoleRows) return;
  state.window_left = x1;
  state.window_top = y1;
  state.window_right = x2;
  state.window_bottom = y2;
  state.cursor_column = x1;
  state.cursor_row = y1;
  console_present();
}

void console_set_cursor(int column, int row) {
  if (!inside_window(column, row)) return;
  state.cursor_column = column;
  state.cursor_row = row;
}

// Ignored outside the window. The check is made window-relative, before any sum that a
// coordinate near the ends of int would overflow.
void goto_xy(int column, int row) {
  if (column < 1 || row < 1 || column > state.window_right - state.window_left + 1 ||
      row > state.window_bottom - state.window_top + 1) {
    return;
  }
  console_set_cursor(state.window_left + column - 1, state.window_top + row - 1);
  console_present();
}

int where_x() { return state.cursor_column - state.window_left + 1; }
int where_y() { return state.cursor_row - state.window_top + 1; }

void clear_window() {
  for (int row = state.window_top; row <= state.window_bottom; ++row) {
    fill_row(row, state.window_left, state.window_right);
  }
  state.cursor_column = state.window_left;
  state.cursor_row = state.window_top;
  console_present();
}

void set_bright_text() { state.attribute |= 0x08; }
void reset_text_attributes() { state.attribute = kLightGrey; }

void console_put_bytes(std::string_view cp852_bytes) {
  for (char byte : cp852_bytes) put_byte(static_cast<uint8_t>(byte));
}

void write_text(std::string_view cp852_text, int width) {
  put_padding(cp852_text.size(), width);
  console_put_bytes(cp852_text);
  console_present();
}

void write_text(int64_t value, int width) {
  const std::string digits = std::to_string(value);
  put_padding(digits.size(), width);
  console_put_bytes(digits);
  console_present();
}

void write_char(uint8_t character) {
  put_byte(character);
  console_present();
}

void write_line() {
  put_byte(kCarriageReturn);
  put_byte(kLineFeed);
  console_present();
}

// Without a backend the program still pauses for real.
void sleep_ms(unsigned milliseconds) {
  if (host().console != nullptr) {
    host().console->sleep(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}
