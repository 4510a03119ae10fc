// The console frame and the page prompt.
#include "sim/text_frame.h"

#include <string>
#include <string_view>

#include "services/console/console.h"
#include "services/text/messages.h"
#include "services/graphics/graphics.h"
#include "services/console/keyboard.h"

namespace {

constexpr uint8_t kShadeBlock = 178;
// The title's middle: " Szimuláció " (12 characters) stands at columns 34..45.
constexpr int kTitleMiddle = 40;
constexpr int kPromptColumn = 35;
constexpr unsigned kSpinnerPeriodMs = 100;
// The page prompt and its spinner end left of column 80: writing there would scroll the screen.
static_assert(kPromptColumn + text_limit::kPagePrompt < kConsoleColumns);
static_assert(text_limit::kFrameTitle < kConsoleColumns - 2);

// The spinner's next shape: - \ | / - ...
char next_spinner(char spinner) {
  const std::string_view shapes = kSpinnerShapes;
  const std::size_t at = shapes.find(spinner);
  return shapes[at == std::string_view::npos || at + 1 == shapes.size() ? 0 : at + 1];
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

const std::string& title_text() { return message_cp852(Message::FrameTitle); }

void draw_text_frame(RunState& run) {
  if (run.screen_state == ScreenState::Graphics) leave_graphics_mode();
  run.screen_state = ScreenState::Text;
  console_window(1, 1, kConsoleColumns, kConsoleRows);
  clear_window();
  draw_border();
  set_bright_text();
  goto_xy(kTitleMiddle - static_cast<int>(title_text().size()) / 2, 1);
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
    write_text(message_cp852(Message::PagePrompt) + spinner);
    sleep_ms(kSpinnerPeriodMs);
    if (key_pressed()) return read_key();
    if (end_of_input()) return 0;
  }
}
