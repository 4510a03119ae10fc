// The headless console backend and the key script helpers (tests).
#include "services/console/headless_console.h"

HeadlessConsole::HeadlessConsole() : installed_([this](Host& record) { record.console = this; }) {
  reset_console();
  reset_keyboard();
}

void HeadlessConsole::present(const ConsoleState&) { ++present_count_; }

void HeadlessConsole::sleep(unsigned milliseconds) {
  slept_ms_ += milliseconds;
  Screen& screen = screens_.emplace_back();
  for (int row = 1; row <= kConsoleRows; ++row) screen[row - 1] = console_row_text(row);
}

void script_keys(std::string_view keys, ScriptEnd end) {
  for (char key : keys) push_key({static_cast<uint8_t>(key), false});
  if (end == ScriptEnd::EndOfInput) push_end_of_input();
}

void script_key_events(const std::vector<KeyEvent>& keys, ScriptEnd end) {
  for (const KeyEvent& key : keys) push_key(key);
  if (end == ScriptEnd::EndOfInput) push_end_of_input();
}
