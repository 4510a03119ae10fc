// The console's cell model: window, cursor, write rules, wrap and window-only scroll.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <utility>

#include "services/console/console.h"
#include "services/text/cp852.h"
#include "services/console/headless_console.h"

namespace {

// Fills rows 1..24 of the whole screen with `c`, so that a later scroll shows what it touched.
void fill_screen(char c) {
  console_window(1, 1, 80, 25);
  for (int row = 1; row <= 24; ++row) {
    goto_xy(1, row);
    write_text(std::string(80, c));
  }
}

TEST(Console, TextAsWideAsWindowThenLineEndLeavesOneEmptyRow) {
  HeadlessConsole console;
  console_window(3, 3, 78, 23);
  write_text(std::string(76, 'a'));
  EXPECT_EQ(where_x(), 1);
  EXPECT_EQ(where_y(), 2);
  write_line();
  write_text("b");
  EXPECT_EQ(console_row_text(3), "  " + std::string(76, 'a'));
  EXPECT_EQ(console_row_text(4), "");
  EXPECT_EQ(console_row_text(5), "  b");
}

TEST(Console, ScrollPastBottomMovesOnlyTheWindow) {
  HeadlessConsole console;
  fill_screen('o');
  console_window(10, 5, 14, 7);
  clear_window();
  set_bright_text();
  write_text("A\r\nB\r\nC\r\nD");
  EXPECT_EQ(console_row_text(4), std::string(80, 'o'));
  EXPECT_EQ(console_row_text(5), std::string(9, 'o') + "B    " + std::string(66, 'o'));
  EXPECT_EQ(console_row_text(6), std::string(9, 'o') + "C    " + std::string(66, 'o'));
  EXPECT_EQ(console_row_text(7), std::string(9, 'o') + "D    " + std::string(66, 'o'));
  EXPECT_EQ(console_row_text(8), std::string(80, 'o'));
  // The new bottom row is blank in the attribute current at the scroll.
  EXPECT_EQ(console_state().cells[6][10].attribute, kWhite);
  EXPECT_EQ(console_state().cells[5][10].attribute, kLightGrey);
  EXPECT_EQ(where_y(), 3);
}

TEST(Console, WritingIntoBottomRightCellScrollsAtOnce) {
  HeadlessConsole console;
  console_window(1, 1, 10, 3);
  write_text("0123456789abcdefghijABCDEFGHIJ");
  EXPECT_EQ(console_row_text(1), "abcdefghij");
  EXPECT_EQ(console_row_text(2), "ABCDEFGHIJ");
  EXPECT_EQ(console_row_text(3), "");
  EXPECT_EQ(where_x(), 1);
  EXPECT_EQ(where_y(), 3);
}

TEST(Console, GotoOutsideWindowOrToZeroIsIgnored) {
  HeadlessConsole console;
  console_window(3, 3, 78, 23);
  goto_xy(5, 6);
  for (auto [column, row] : {std::pair{0, 2}, {2, 0}, {77, 1}, {1, 22}, {-1, 1}}) {
    goto_xy(column, row);
    EXPECT_EQ(where_x(), 5);
    EXPECT_EQ(where_y(), 6);
  }
  goto_xy(76, 21);
  EXPECT_EQ(console_state().cursor_column, 78);
  EXPECT_EQ(console_state().cursor_row, 23);
}

// The window-relative position was turned into an absolute one before the range check, which
// overflowed for coordinates near the ends of int.
TEST(Console, GotoNearTheEndsOfIntIsIgnoredWithoutOverflow) {
  HeadlessConsole console;
  console_window(3, 3, 78, 23);
  goto_xy(5, 6);
  for (auto [column, row] : {std::pair{INT_MAX, 1}, {1, INT_MAX}, {INT_MIN, 1}, {1, INT_MIN},
                             {INT_MAX - 1, INT_MAX - 1}}) {
    goto_xy(column, row);
    EXPECT_EQ(std::pair(where_x(), where_y()), std::pair(5, 6));
  }
}

TEST(Console, InvalidWindowIsIgnored) {
  HeadlessConsole console;
  console_window(3, 3, 78, 23);
  goto_xy(4, 4);
  for (auto [x1, y1, x2, y2] : {std::tuple{5, 1, 4, 2}, {1, 5, 2, 4}, {1, 1, 81, 25},
                                {1, 1, 80, 26}, {0, 1, 80, 25}, {1, 0, 80, 25}}) {
    console_window(x1, y1, x2, y2);
    const ConsoleState& s = console_state();
    EXPECT_EQ(std::tuple(s.window_left, s.window_top, s.window_right, s.window_bottom),
              std::tuple(3, 3, 78, 23));
    EXPECT_EQ(std::pair(where_x(), where_y()), std::pair(4, 4));
  }
  console_window(2, 2, 2, 2);  // one cell is a valid window
  EXPECT_EQ(console_state().cursor_column, 2);
}

TEST(Console, ControlBytesFollowTheConsoleRules) {
  HeadlessConsole console;
  console_window(5, 1, 20, 2);
  write_text("\bab\x07\bc");  // backspace in the left column stays; bell writes nothing
  EXPECT_EQ(console_row_text(1), "    ac");
  write_text("\nd");  // LF keeps the column
  EXPECT_EQ(console_row_text(2), "      d");
  write_text("\rX\n");  // CR to the left column; LF on the bottom row scrolls
  EXPECT_EQ(console_row_text(1), "    X d");
  EXPECT_EQ(console_row_text(2), "");
  EXPECT_EQ(std::pair(where_x(), where_y()), std::pair(2, 2));
}

TEST(Console, FieldWidthPadsOnTheLeftOnly) {
  HeadlessConsole console;
  write_text(int64_t{140}, 3);
  write_text(int64_t{5}, 3);
  write_text(int64_t{-12345}, 3);
  write_text("ab", 4);
  write_text(int64_t{9000000000}, 0);
  EXPECT_EQ(console_row_text(1), "140  5-12345  ab9000000000");
}

TEST(Console, AttributesAndClearWindow) {
  HeadlessConsole console;
  set_bright_text();
  EXPECT_EQ(console_state().attribute, kWhite);
  write_char('W');
  reset_text_attributes();
  write_char('g');
  EXPECT_EQ(console_state().cells[0][0].attribute, kWhite);
  EXPECT_EQ(console_state().cells[0][1].attribute, kLightGrey);
  console_window(1, 1, 1, 1);
  set_bright_text();
  clear_window();
  EXPECT_EQ(console_state().cells[0][0].character, ' ');
  EXPECT_EQ(console_state().cells[0][0].attribute, kWhite);
  EXPECT_EQ(console_state().cells[0][1].character, 'g');
}

TEST(Console, EachWriteCallPresentsOnceAndSleepIsRecorded) {
  HeadlessConsole console;
  const uint64_t before = console.present_count();
  write_text(std::string(200, 'x'), 300);
  write_line();
  EXPECT_EQ(console.present_count(), before + 2);
  sleep_ms(100);
  sleep_ms(250);
  EXPECT_EQ(console.slept_ms(), 350u);
}

TEST(Console, ScreenTextIsUtf8OfCodePage852) {
  HeadlessConsole console;
  write_char(178);
  write_text(cp852("Hány"));
  const std::string screen = console_screen_text();
  EXPECT_EQ(screen.substr(0, screen.find('\n')), "\u2593Hány" + std::string(75, ' '));
  EXPECT_EQ(std::count(screen.begin(), screen.end(), '\n'), 25);
}

}  // namespace
