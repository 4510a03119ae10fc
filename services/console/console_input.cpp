// Keyboard line input: the line editor and the reads of the keyboard "file".
//
// The keyboard is read a line at a time. The line editor collects one line with echo at the
// cursor in the current window; Enter ends it, and the line followed by CR LF becomes the
// pending input that read_integer and discard_line consume. A new line is collected only when
// the pending one is used up.
//
// The editor keeps the typed text, the caret (an index into the text, 0..length) and the
// absolute cell of the text's first character. The text is laid out from that cell by the
// console's wrap rule, so index i sits `start offset + i` cells along the window's rows. When
// echo scrolls the window, the start cell moves up with it. Limit: text scrolled out above the
// window's top row is no longer shown; editing then goes on with the part still in the window.
//
// End of input (read_key throwing run-time error 100) propagates out of every read here.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "services/console/console.h"
#include "services/console/keyboard.h"
#include "services/console/pc_keys.h"
#include "services/program/run_time_error.h"

namespace {

constexpr std::size_t kMaxLineLength = 254;
constexpr std::size_t kMaxTokenLength = 255;

// Key codes the editor acts on.
constexpr uint8_t kBackspaceCode = pc_key::kBackspace.plain, kEnterCode = pc_key::kEnter.plain;
constexpr uint8_t kEscape = pc_key::kEscape.plain, kCtrlS = 19, kCtrlY = 25;
constexpr uint8_t kDeleteCharacter = 127;

std::string pending_line;         // the last collected line with its CR LF
std::size_t pending_position = 0;  // next byte of pending_line to read

struct LineEditor {
  std::string text;
  std::size_t caret = 0;
  int start_column = 1, start_row = 1;  // absolute cell of text[0]
};

int window_width() {
  const ConsoleState& s = console_state();
  return s.window_right - s.window_left + 1;
}

// Cells along the window's rows from the left column of the start row to index `index`.
int offset_of(const LineEditor& editor, std::size_t index) {
  return editor.start_column - console_state().window_left + static_cast<int>(index);
}

// Puts the cursor on the cell of `index`; a cell scrolled out above the window gives its top-left.
void place_cursor(const LineEditor& editor, std::size_t index) {
  const ConsoleState& s = console_state();
  const int offset = offset_of(editor, index);
  const int row = editor.start_row + offset / window_width();
  if (row < s.window_top) {
    console_set_cursor(s.window_left, s.window_top);
  } else {
    console_set_cursor(s.window_left + offset % window_width(), row);
  }
}

// The first index at or after `index` whose cell is still inside the window.
std::size_t first_visible(const LineEditor& editor, std::size_t index) {
  const int rows_above = console_state().window_top - editor.start_row;
  if (rows_above <= 0) return index;
  const int first = rows_above * window_width() - offset_of(editor, 0);
  return std::max(index, static_cast<std::size_t>(std::max(first, 0)));
}

// Shows the text from `from` on, blanking what is left of a longer `old_length`, and moves the
// start cell up by the rows that this echo scrolled.
void redraw_from(LineEditor& editor, std::size_t from, std::size_t old_length) {
  from = first_visible(editor, from);
  const std::size_t end = std::max(editor.text.size(), old_length);
  if (from >= end) return;
  place_cursor(editor, from);
  console_put_bytes(std::string_view(editor.text).substr(std::min(from, editor.text.size())));
  if (old_length > editor.text.size()) {
    console_put_bytes(std::string(old_length - std::max(from, editor.text.size()), ' '));
  }
  const int expected_row = editor.start_row + offset_of(editor, end) / window_width();
  editor.start_row -= expected_row - console_state().cursor_row;
}

void insert_character(LineEditor& editor, uint8_t character) {
  if (editor.text.size() >= kMaxLineLength) return;
  const std::size_t old_length = editor.text.size();
  editor.text.insert(editor.caret, 1, static_cast<char>(character));
  redraw_from(editor, editor.caret, old_length);
  ++editor.caret;
}

// Deletes the character before the caret, only when the caret is at the end of the text.
void delete_last_character(LineEditor& editor) {
  if (editor.caret == 0 || editor.caret != editor.text.size()) return;
  editor.text.pop_back();
  --editor.caret;
  redraw_from(editor, editor.caret, editor.text.size() + 1);
}

void erase_line(LineEditor& editor) {
  const std::size_t old_length = editor.text.size();
  editor.text.clear();
  editor.caret = 0;
  redraw_from(editor, 0, old_length);
}

// Acts on the scan code of an extended key; returns true when it ends the line.
bool extended_key(LineEditor& editor, uint8_t scan_code) {
  switch (scan_code) {
    case scan::kLeft:
      if (editor.caret > 0) --editor.caret;
      break;
    case scan::kRight:
      if (editor.caret < editor.text.size()) ++editor.caret;
      break;
    case scan::kHome:
      editor.caret = 0;
      break;
    case scan::kEnd:
      editor.caret = editor.text.size();
      break;
    case scan::kKeypadEnter:
      return true;
    default:
      break;
  }
  return false;
}

// Acts on one key; returns true when it ends the line. Ctrl-Z, the other control keys and
// the other extended keys change nothing.
bool edit_key(LineEditor& editor, uint8_t key) {
  switch (key) {
    case 0:
      return extended_key(editor, read_key());
    case kEnterCode:
      return true;
    case kBackspaceCode:
    case kCtrlS:
      delete_last_character(editor);
      return false;
    case kEscape:
    case kCtrlY:
      erase_line(editor);
      return false;
    default:
      if (key >= ' ' && key != kDeleteCharacter) insert_character(editor, key);
      return false;
  }
}

// Collects one typed line with echo; Enter moves the cursor to the start of the next row.
std::string edit_line() {
  LineEditor editor;
  editor.start_column = console_state().cursor_column;
  editor.start_row = console_state().cursor_row;
  for (;;) {
    const bool done = edit_key(editor, read_key());
    place_cursor(editor, done ? editor.text.size() : editor.caret);
    if (done) console_put_bytes("\r\n");
    console_present();
    if (done) return editor.text;
  }
}

void collect_line() {
  pending_line = edit_line() + "\r\n";
  pending_position = 0;
}

// Skips bytes of code 32 or less, collecting new lines as the pending one is used up.
void skip_blanks() {
  for (;;) {
    while (pending_position < pending_line.size() &&
           static_cast<uint8_t>(pending_line[pending_position]) <= ' ') {
      ++pending_position;
    }
    if (pending_position < pending_line.size()) return;
    collect_line();
  }
}

std::string take_token() {
  const std::size_t begin = pending_position;
  while (pending_position < pending_line.size() && pending_position - begin < kMaxTokenLength &&
         static_cast<uint8_t>(pending_line[pending_position]) > ' ') {
    ++pending_position;
  }
  return pending_line.substr(begin, pending_position - begin);
}

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Reads an optional base prefix at `i`: $, x, X, 0x, 0X hexadecimal, % binary, & octal.
int read_base_prefix(std::string_view text, std::size_t& i) {
  if (i >= text.size()) return 10;
  switch (text[i]) {
    case '$': case 'x': case 'X': ++i; return 16;
    case '%': ++i; return 2;
    case '&': ++i; return 8;
    default: break;
  }
  if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    i += 2;
    return 16;
  }
  return 10;
}

// Blanks, a sign, a base prefix, then at least one digit of that base; the value must fit a
// signed 32-bit integer (-2147483648 does).
std::optional<int32_t> parse_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const int base = read_base_prefix(text, i);
  if (i >= text.size()) return std::nullopt;
  const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = digit_value(text[i]);
    if (digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                       : static_cast<int64_t>(magnitude));
}

}  // namespace

int32_t read_integer() {
  skip_blanks();
  const std::optional<int32_t> value = parse_integer(take_token());
  if (!value) raise_run_time_error(kErrorInvalidNumber);
  return *value;
}

void discard_line() {
  if (pending_position >= pending_line.size()) collect_line();
  const std::size_t line_feed = pending_line.find('\n', pending_position);
  pending_position = line_feed == std::string::npos ? pending_line.size() : line_feed + 1;
}

void reset_line_input() {
  pending_line.clear();
  pending_position = 0;
}
