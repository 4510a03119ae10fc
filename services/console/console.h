// The 80x25 text console: a cell model that is the truth, mirrored by a backend.
//
// Cells hold a code page 852 byte and an attribute (bits 0-3 foreground, 4-6 background).
// Columns and rows are 1-based; (1, 1) is the top-left cell. Output goes to the current
// window; the cursor is kept in absolute cells and given window-relative. Writing follows the
// console rules: bell ignored, backspace, CR, LF, wrap at the window's right column, and a
// scroll of the window alone when the cursor passes its bottom row.
//
// A backend shows the model: the terminal backend (ncursesw) on a real terminal, the page's
// canvas console, the headless backend in tests; the host record (host.h) holds the one in use.
// Every write operation presents the model when it ends, so a prompt is visible before the
// program waits for input.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kConsoleColumns = 80;
constexpr int kConsoleRows = 25;
constexpr uint8_t kLightGrey = 7;
constexpr uint8_t kWhite = 15;

struct ConsoleCell {
  uint8_t character = ' ';
  uint8_t attribute = kLightGrey;
};

using ConsoleCells = std::array<std::array<ConsoleCell, kConsoleColumns>, kConsoleRows>;

struct ConsoleState {
  ConsoleCells cells{};  // [row-1][column-1]
  int window_left = 1, window_top = 1, window_right = kConsoleColumns, window_bottom = kConsoleRows;
  int cursor_column = 1, cursor_row = 1;  // absolute screen cell of the next character
  uint8_t attribute = kLightGrey;
};

class ConsoleBackend {
 public:
  virtual ~ConsoleBackend() = default;
  // Shows the model (called at the end of every write operation).
  virtual void present(const ConsoleState& state) = 0;
  // Suspends the calling thread for `milliseconds`.
  virtual void sleep(unsigned milliseconds) = 0;
};

// The model as it stands (tests, backends).
const ConsoleState& console_state();
// The screen as 25 lines of 80 characters in UTF-8, trailing blanks kept (tests).
std::string console_screen_text();
// One screen row (1-based) in UTF-8 with trailing blanks removed (tests).
std::string console_row_text(int row);
// Back to the start state: blank screen, full window, cursor (1, 1), light grey (tests).
void reset_console();

void console_window(int x1, int y1, int x2, int y2);
void goto_xy(int column, int row);
int where_x();  // window-relative cursor column
int where_y();  // window-relative cursor row
void clear_window();
void set_bright_text();
void reset_text_attributes();
void write_text(std::string_view cp852_text, int width = 0);
void write_text(int64_t value, int width = 0);
// A char given to write_text would print as its number; write_char writes one byte.
template <typename T>
  requires std::same_as<T, char>
void write_text(T value, int width = 0) = delete;
void write_char(uint8_t character);
void write_line();
void sleep_ms(unsigned milliseconds);

// Reads one whole number typed at the keyboard (line input with echo), see console_input.cpp.
// Stops the program with run-time error 106 on text that is not a number.
int32_t read_integer();
// Discards the rest of the typed line, its line end included (waits for a line when none is
// pending, as a line-oriented read does).
void discard_line();
// Forgets any typed line not yet read (reset_console calls it).
void reset_line_input();

// Output for the line editor, which presents once per key instead of once per call:
// console_put_bytes writes by the rules above without presenting; console_set_cursor moves the
// cursor to an absolute cell, ignored outside the window; console_present shows the model.
void console_put_bytes(std::string_view cp852_bytes);
void console_set_cursor(int column, int row);
void console_present();
