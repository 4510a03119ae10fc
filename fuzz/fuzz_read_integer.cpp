// Fuzz target: number input (read_integer, discard_line and the line editor) on arbitrary keys.
//
// Input: four bytes choose the console window (left, top, width, height, each taken modulo what
// fits), two bytes the cursor in it; every further byte is one typed key (a 0 key makes the
// next byte an extended key's scan code, as the key queue delivers them), and input ends after
// the last. Numbers are read and lines discarded until input ends. Run-time errors 106 (not a
// number) and 100 (input ended) are the expected outcomes.
//
// Checked after every read: the cursor is inside the window, the window is unchanged, and the
// echo left every cell outside the window as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "services/console/console.h"
#include "services/console/headless_console.h"
#include "services/program/run_time_error.h"

namespace {

using Cells = decltype(ConsoleState::cells);

struct Window {
  int left, top, right, bottom;
};

Window window_of(const ConsoleState& s) {
  return {s.window_left, s.window_top, s.window_right, s.window_bottom};
}

void check_console(const Window& window, const Cells& before) {
  const ConsoleState& s = console_state();
  FUZZ_CHECK(s.window_left == window.left && s.window_top == window.top &&
             s.window_right == window.right && s.window_bottom == window.bottom);
  FUZZ_CHECK(s.cursor_column >= window.left && s.cursor_column <= window.right);
  FUZZ_CHECK(s.cursor_row >= window.top && s.cursor_row <= window.bottom);
  for (int row = 1; row <= kConsoleRows; ++row) {
    for (int column = 1; column <= kConsoleColumns; ++column) {
      if (column >= window.left && column <= window.right && row >= window.top &&
          row <= window.bottom) {
        continue;
      }
      const ConsoleCell& now = s.cells[row - 1][column - 1];
      const ConsoleCell& then = before[row - 1][column - 1];
      FUZZ_CHECK(now.character == then.character && now.attribute == then.attribute);
    }
  }
}

// Runs one read; false when input has ended.
template <typename Read>
bool read_until_end(Read read) {
  try {
    read();
  } catch (const RunTimeError& error) {
    if (error.code() == kErrorReadPastEnd) return false;
    FUZZ_CHECK(error.code() == kErrorInvalidNumber);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzBytes input(data, size);
  HeadlessConsole console;

  // Text around the window, so that a stray write outside it shows (the last cell stays blank:
  // writing it would scroll).
  write_text(std::string(kConsoleColumns * kConsoleRows - 1, '#'));
  const int left = 1 + input.byte() % kConsoleColumns;
  const int top = 1 + input.byte() % kConsoleRows;
  const int right = left + input.byte() % (kConsoleColumns - left + 1);
  const int bottom = top + input.byte() % (kConsoleRows - top + 1);
  console_window(left, top, right, bottom);
  goto_xy(1 + input.byte() % (right - left + 1), 1 + input.byte() % (bottom - top + 1));

  const Window window = window_of(console_state());
  const Cells before = console_state().cells;
  script_keys(input.rest(), ScriptEnd::EndOfInput);

  // Every round takes at least one key (its line's Enter), so the loop ends; the bound catches
  // a round that does not.
  for (std::size_t reads = 0;; ++reads) {
    FUZZ_CHECK(reads <= size + 1);
    if (!read_until_end([] { (void)read_integer(); })) break;
    check_console(window, before);
    if (!read_until_end([] { discard_line(); })) break;
    check_console(window, before);
  }
  check_console(window, before);
  return 0;
}
