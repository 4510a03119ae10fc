// Fuzz target: the console's write rules on arbitrary bytes, windows and cursor moves.
//
// Input: a list of operations, each one byte (modulo the operation count) and its arguments.
// A coordinate is one byte b: below 128 it stands for b - 20 (so -20 .. 107, around the
// screen), from 128 to 247 four more bytes give any int, and 248 to 255 pick values near the
// ends of int. A field width is one signed byte times
// two, or the most negative int for 0x80. Text is a length byte and that many bytes.
//
// Checked after every operation: the window lies on the screen, the cursor is inside it, and
// no cell outside the window (as it was before the operation) changed; changing the window
// changes no cell at all. A printable byte written lands on the cursor's cell; a goto inside
// the window lands there, any other goto leaves the cursor alone.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "services/console/console.h"
#include "services/console/headless_console.h"

namespace {

enum class Operation : uint8_t {
  kWindow, kGoto, kWriteText, kWriteNumber, kWriteChar, kWriteLine, kClearWindow,
  kBright, kResetAttributes, kPutBytes, kSetCursor, kCount
};

// Values at the ends of int, where arithmetic on a coordinate would overflow.
constexpr int kExtremes[] = {INT_MIN, INT_MIN + 1, INT_MIN + 80, -1, 0,
                             INT_MAX - 80, INT_MAX - 1, INT_MAX};

int coordinate(FuzzBytes& input) {
  const uint8_t b = input.byte();
  if (b < 128) return b - 20;
  if (b < 248) return input.value<int32_t>();
  return kExtremes[b - 248];
}

int field_width(FuzzBytes& input) {
  const uint8_t b = input.byte();
  return b == 0x80 ? INT_MIN : static_cast<int8_t>(b) * 2;
}

std::string_view text_bytes(FuzzBytes& input) { return input.bytes(input.byte()); }

struct Snapshot {
  ConsoleState state;

  bool inside(int column, int row) const {
    return column >= state.window_left && column <= state.window_right &&
           row >= state.window_top && row <= state.window_bottom;
  }
};

void check_window_and_cursor() {
  const ConsoleState& s = console_state();
  FUZZ_CHECK(1 <= s.window_left && s.window_left <= s.window_right &&
             s.window_right <= kConsoleColumns);
  FUZZ_CHECK(1 <= s.window_top && s.window_top <= s.window_bottom &&
             s.window_bottom <= kConsoleRows);
  FUZZ_CHECK(s.cursor_column >= s.window_left && s.cursor_column <= s.window_right);
  FUZZ_CHECK(s.cursor_row >= s.window_top && s.cursor_row <= s.window_bottom);
  FUZZ_CHECK(where_x() >= 1 && where_x() <= s.window_right - s.window_left + 1);
  FUZZ_CHECK(where_y() >= 1 && where_y() <= s.window_bottom - s.window_top + 1);
}

enum class Cells : uint8_t { All, OutsideWindow };

// The cells (all, or those outside the window before the operation) are as they were.
void check_cells_kept(const Snapshot& before, Cells which) {
  const ConsoleState& s = console_state();
  for (int row = 1; row <= kConsoleRows; ++row) {
    for (int column = 1; column <= kConsoleColumns; ++column) {
      if (which == Cells::OutsideWindow && before.inside(column, row)) continue;
      const ConsoleCell& now = s.cells[row - 1][column - 1];
      const ConsoleCell& then = before.state.cells[row - 1][column - 1];
      FUZZ_CHECK(now.character == then.character && now.attribute == then.attribute);
    }
  }
}

bool is_control_byte(uint8_t byte) { return byte == 7 || byte == 8 || byte == 10 || byte == 13; }

void run_operation(FuzzBytes& input, const Snapshot& before) {
  const ConsoleState& s = before.state;
  switch (static_cast<Operation>(input.byte() % static_cast<uint8_t>(Operation::kCount))) {
    case Operation::kWindow: {
      const int x1 = coordinate(input), y1 = coordinate(input);
      const int x2 = coordinate(input), y2 = coordinate(input);
      console_window(x1, y1, x2, y2);
      check_cells_kept(before, Cells::All);
      return;
    }
    case Operation::kGoto: {
      const int column = coordinate(input), row = coordinate(input);
      goto_xy(column, row);
      const bool fits = column >= 1 && row >= 1 && column <= s.window_right - s.window_left + 1 &&
                        row <= s.window_bottom - s.window_top + 1;
      const ConsoleState& now = console_state();
      if (fits) {
        FUZZ_CHECK(where_x() == column && where_y() == row);
      } else {
        FUZZ_CHECK(now.cursor_column == s.cursor_column && now.cursor_row == s.cursor_row);
      }
      break;
    }
    case Operation::kWriteText: {
      const int width = field_width(input);
      write_text(text_bytes(input), width);
      break;
    }
    case Operation::kWriteNumber: {
      const int width = field_width(input);
      write_text(input.value<int64_t>(), width);
      break;
    }
    case Operation::kWriteChar: {
      const uint8_t character = input.byte();
      write_char(character);
      if (is_control_byte(character)) break;
      // In the bottom-right cell the write scrolls the window: the byte moves up one row, or
      // out of a one-row window.
      const bool scrolled = s.cursor_column == s.window_right && s.cursor_row == s.window_bottom;
      if (scrolled && s.window_top == s.window_bottom) break;
      const int row = scrolled ? s.cursor_row - 1 : s.cursor_row;
      const ConsoleCell& landed = console_state().cells[row - 1][s.cursor_column - 1];
      FUZZ_CHECK(landed.character == character && landed.attribute == s.attribute);
      break;
    }
    case Operation::kWriteLine:
      write_line();
      break;
    case Operation::kClearWindow:
      clear_window();
      break;
    case Operation::kBright:
      set_bright_text();
      break;
    case Operation::kResetAttributes:
      reset_text_attributes();
      break;
    case Operation::kPutBytes:
      console_put_bytes(text_bytes(input));
      console_present();
      break;
    case Operation::kSetCursor: {
      const int column = coordinate(input), row = coordinate(input);
      console_set_cursor(column, row);
      break;
    }
    case Operation::kCount:
      break;
  }
  check_cells_kept(before, Cells::OutsideWindow);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzBytes input(data, size);
  HeadlessConsole console;
  while (!input.empty()) {
    const Snapshot before{console_state()};
    run_operation(input, before);
    check_window_and_cursor();
  }
  return 0;
}
