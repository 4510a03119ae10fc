// Keyboard line input: the line editor's keys and echo, read_integer and discard_line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/console/console.h"
#include "services/console/headless_console.h"
#include "services/program/run_time_error.h"

namespace {

const KeyEvent kLeft{scan::kLeft, true}, kRight{scan::kRight, true};
const KeyEvent kHome{scan::kHome, true}, kEnd{scan::kEnd, true};

std::vector<KeyEvent> keys(std::string_view text) {
  std::vector<KeyEvent> events;
  for (char c : text) events.push_back({static_cast<uint8_t>(c), false});
  return events;
}

std::vector<KeyEvent> operator+(std::vector<KeyEvent> a, const std::vector<KeyEvent>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The error number read_integer stops with, or 0 when it returns.
int read_error() {
  try {
    read_integer();
  } catch (const RunTimeError& error) {
    return error.code();
  }
  return 0;
}

TEST(ConsoleInput, ReadIntegerConvertsTheFirstToken) {
  const std::pair<const char*, int32_t> cases[] = {
      {"  42", 42},    {"+7", 7},     {"$1F", 31},   {"x1f", 31},   {"0x1F", 31},
      {"0X1f", 31},    {"%101", 5},   {"&17", 15},   {"-$10", -16}, {"0", 0},
      {"-2147483648", INT32_MIN},     {"2147483647", INT32_MAX},    {"007", 7},
      {"3 9", 3}};
  for (const auto& [typed, value] : cases) {
    HeadlessConsole console;
    script_keys(std::string(typed) + "\r", ScriptEnd::EndOfInput);
    EXPECT_EQ(read_integer(), value) << typed;
  }
}

TEST(ConsoleInput, ReadIntegerRejectsBadTextWith106) {
  for (const char* typed : {"2147483648", "-2147483649", "$80000000", "12abc", "abc", "-",
                            "$", "0x", "%2", "&8", "1.5", "+-1", "99999999999999999999"}) {
    HeadlessConsole console;
    script_keys(std::string(typed) + "\r", ScriptEnd::EndOfInput);
    EXPECT_EQ(read_error(), kErrorInvalidNumber) << typed;
  }
}

TEST(ConsoleInput, RestOfLineIsDiscardedAndEmptyLinesWait) {
  HeadlessConsole console;
  script_keys("3 9\r\r  \r5\r6 7\r8\r", ScriptEnd::EndOfInput);
  EXPECT_EQ(read_integer(), 3);
  discard_line();
  EXPECT_EQ(read_integer(), 5);  // the empty and blank lines are skipped
  EXPECT_EQ(read_integer(), 6);  // without discard_line the line goes on
  EXPECT_EQ(read_integer(), 7);
  EXPECT_EQ(read_integer(), 8);  // the next token comes from the next line
  EXPECT_EQ(read_error(), kErrorReadPastEnd);
}

TEST(ConsoleInput, EchoFollowsThePromptAndEnterGoesToNextRow) {
  HeadlessConsole console;
  console_window(3, 3, 78, 23);
  write_text("N? ");
  script_keys("\r42\r");
  EXPECT_EQ(read_integer(), 42);
  discard_line();
  EXPECT_EQ(console_row_text(3), "  N?");
  EXPECT_EQ(console_row_text(4), "  42");
  EXPECT_EQ(std::pair(where_x(), where_y()), std::pair(1, 3));
}

TEST(ConsoleInput, EditingKeys) {
  struct Case {
    const char* name;
    std::vector<KeyEvent> typed;
    const char* shown;
    int32_t value;
  };
  const Case cases[] = {
      {"backspace at end", keys("123\b"), "12", 12},
      {"ctrl-s at end", keys("123\x13"), "12", 12},
      {"backspace not at end", keys("12") + std::vector{kLeft} + keys("\b"), "12", 12},
      {"escape erases", keys("999\x1b") + keys("7"), "7", 7},
      {"ctrl-y erases", keys("999\x19") + keys("7"), "7", 7},
      {"insert in middle", keys("13") + std::vector{kLeft} + keys("2"), "123", 123},
      {"home and end", keys("23") + std::vector{kHome} + keys("1") + std::vector{kEnd} + keys("4"),
       "1234", 1234},
      {"right stops at end", keys("1") + std::vector{kLeft, kRight, kRight} + keys("2"), "12", 12},
      {"left stops at start", keys("2") + std::vector{kLeft, kLeft} + keys("1"), "12", 12},
      {"ctrl-z ignored", keys("4\x1a" "2"), "42", 42},
      {"other keys ignored", keys("4\x01\x7f") + std::vector<KeyEvent>{{59, true}, {83, true}} +
                                 keys("2"), "42", 42},
      {"keypad enter", keys("5") + std::vector<KeyEvent>{{scan::kKeypadEnter, true}} + keys("6"),
       "5", 5},
  };
  for (const Case& c : cases) {
    HeadlessConsole console;
    script_key_events(c.typed + keys("\r"), ScriptEnd::EndOfInput);
    EXPECT_EQ(read_integer(), c.value) << c.name;
    EXPECT_EQ(console_row_text(1), c.shown) << c.name;
  }
}

TEST(ConsoleInput, LineHoldsAtMost254Characters) {
  HeadlessConsole console;
  script_keys(std::string(253, ' ') + "7" + "8888\r", ScriptEnd::EndOfInput);
  EXPECT_EQ(read_integer(), 7);
  EXPECT_EQ(console_row_text(4), std::string(13, ' ') + "7");
}

TEST(ConsoleInput, EditingKeepsTrackOfEchoThatScrolled) {
  HeadlessConsole console;
  console_window(1, 1, 10, 3);
  goto_xy(1, 3);
  script_key_events(keys("1234567890ab") + std::vector{kHome} + keys("-") +
                    std::vector{kEnd} + keys("\b\b\r"));
  EXPECT_EQ(read_integer(), -1234567890);
  EXPECT_EQ(console_row_text(1), "-123456789");
  EXPECT_EQ(console_row_text(2), "0");
  EXPECT_EQ(console_row_text(3), "");
}

TEST(ConsoleInput, EndOfInputWhileTypingStopsWith100) {
  HeadlessConsole console;
  script_keys("12", ScriptEnd::EndOfInput);
  EXPECT_EQ(read_error(), kErrorReadPastEnd);
}

}  // namespace
