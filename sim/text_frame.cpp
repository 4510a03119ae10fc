// The console frame and the page prompt.
#include "sim/text_frame.h"

#include <string>

#include "services/console/console.h"
#include "services/cp852.h"
#include "services/graphics/graphics.h"
#include "services/console/keyboard.h"
#include "sim/run_state.h"

namespace {

constexpr uint8_t kShadeBlock = 178;
constexpr int kTitleColumn = 34;
constexpr int kPromptColumn = 35;
constexpr unsigned kSpinnerPeriodMs = 100;

// The spinner's next shape: - \ | / - ...
char next_spinner(char spinner) {
  switch (spinner) {
    case '-': return '\\';
    case '\\': return '|';
    case '|': return '/';
    default: return '-';
  }
}

void draw_border() {
  for (int column = 2; column <= kConsoleColumns - 1; ++column) {
    goto_xy(column, 1);
    write_char(kShadeBlock);
    goto_xy(column, 24);
    write_char(kShadeBlock);
  }
  // Writing into column 80 moves the cursor to the next row's start; the next goto_xy sets it
  // again, so no row scrolls.
  for (int row = 1; row <= 24; ++row) {
    goto_xy(1, row);
    write_char(kShadeBlock);
    goto_xy(kConsoleColumns, row);
    write_char(kShadeBlock);
  }
}

}  // namespace

const char* title_text() {
  static const std::string title = cp852(" Szimuláció ");
  return title.c_str();
}

void draw_text_frame() {
  if (run.screen_state == ScreenState::Graphics) leave_graphics_mode();
  run.screen_state = ScreenState::Text;
  console_window(1, 1, kConsoleColumns, kConsoleRows);
  clear_window();
  draw_border();
  set_bright_text();
  goto_xy(kTitleColumn, 1);
  write_text(title_text());
  reset_text_attributes();
  console_window(3, 3, 78, 23);
}

uint8_t page_prompt() {
  char spinner = '-';
  for (;;) {
    spinner = next_spinner(spinner);
    console_window(1, 1, kConsoleColumns, kConsoleRows);
    goto_xy(kPromptColumn, kConsoleRows);
    write_text(std::string("Lapozhatunk?") + spinner);
    sleep_ms(kSpinnerPeriodMs);
    if (key_pressed()) return read_key();
    if (end_of_input()) return 0;
  }
}
