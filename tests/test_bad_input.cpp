// Bad input at the two number prompts, typed on a real terminal: the bytes go through the key
// decoder, the keys through the line editor and read_integer, and each case ends with the one
// outcome the prompts promise (a number accepted, the prompt asked again, or a run-time error)
// and a screen that shows what was typed and nothing more.
#include <string>
#include <vector>

#include "program_fixture.h"
#include "services/console/key_decoder.h"

namespace {

// The keys a terminal gives for `chunks`: each chunk is one read, and a pause follows it, so a
// lone Esc at the end of a chunk resolves to the Esc key as it does when nothing follows in time.
std::vector<KeyEvent> terminal_keys(const std::vector<std::string>& chunks) {
  KeyDecoder decoder;
  std::vector<KeyEvent> keys;
  const auto take = [&keys](const std::vector<KeyDecodeResult>& results) {
    for (const KeyDecodeResult& result : results) {
      if (result.status == KeyDecodeStatus::Key) keys.push_back(result.key);
    }
  };
  for (const std::string& chunk : chunks) {
    take(decoder.feed({reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size()}));
    take(decoder.flush());
  }
  return keys;
}

const std::string kAskN = "Hány Zorvan legyen összesen? [5-140]";
std::string ask_k(const char* bound) {
  return "Hány Zorvan legyen az 1. dobozban? [0-" + std::string(bound) + "]";
}

// The inner window's part (columns 3..78) of a frame row, without trailing blanks.
std::string inner_row(int number) {
  std::string text = console_row_text(number);
  const std::string shade = "▓";
  if (text.rfind(shade + " ", 0) != 0) return "<not a frame row: " + text + ">";
  text.erase(0, shade.size() + 1);
  if (text.ends_with(shade)) text.erase(text.size() - shade.size());
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

struct PromptCase {
  const char* name;
  std::vector<std::string> typed;  // terminal reads, in order; input ends after the last
  int exit_code;                   // 0: both numbers accepted
  int n, k;                        // the answers kept (0 where none was)
  std::vector<std::string> rows;   // the inner window's rows from row 3 on; the next is empty
};

const std::string kBlanks252(252, ' ');

const PromptCase kPromptCases[] = {
    {"letters", {"abc\r"}, 106, 0, 0, {kAskN + "abc"}},
    {"digits then a letter", {"12x\r"}, 106, 0, 0, {kAskN + "12x"}},
    {"a number beyond 32 bits", {"4294967296\r"}, 106, 0, 0, {kAskN + "4294967296"}},
    {"eleven digits", {"99999999999\r"}, 106, 0, 0, {kAskN + "99999999999"}},
    // Hexadecimal text is a magnitude, not a bit pattern: $FFFFFFFF is 4294967295, beyond the
    // signed 32-bit range like its decimal form, so it stops the program as well.
    {"hex of all ones", {"$FFFFFFFF\r"}, 106, 0, 0, {kAskN + "$FFFFFFFF"}},
    {"minus zero", {"-0\r5\r-0\r"}, 0, 5, 0, {kAskN + "-0", kAskN + "5", ask_k("  5") + "-0"}},
    // The line holds 254 characters: the 46 nines beyond them are neither kept nor shown.
    {"a 300-character line", {kBlanks252 + "12" + std::string(46, '9') + "\r", "0\r"}, 0, 12, 0,
     {kAskN, "", "", std::string(60, ' ') + "12", ask_k(" 12") + "0"}},
    {"ctrl-a, tab and ctrl-z in the line", {"1\x01\t2\x1a\r", "0\r"}, 0, 12, 0,
     {kAskN + "12", ask_k(" 12") + "0"}},
    {"escape erases the line", {"99", "\x1b", "8\r", "0\r"}, 0, 8, 0,
     {kAskN + "8", ask_k("  8") + "0"}},
    {"delete byte rubs out", {"123\x7f\r", "0\r"}, 0, 12, 0,
     {kAskN + "12", ask_k(" 12") + "0"}},
    {"invalid UTF-8 is dropped",
     {"1\xff\xfe\x80", "\xc0\xb2\xed\xa0\x80", "\xc3", "\xc3" "2\r", "0\r"}, 0, 12, 0,
     {kAskN + "12", ask_k(" 12") + "0"}},
    {"a letter of the upper half", {"1é\r"}, 106, 0, 0, {kAskN + "1é"}},
    {"end of input at N", {}, 100, 0, 0, {kAskN}},
    {"end of input within the line", {"12"}, 100, 0, 0, {kAskN + "12"}},
    {"end of input at K", {"7\r"}, 100, 7, 0, {kAskN + "7", ask_k("  7")}},
};

}  // namespace

using BadPromptInput = ProgramTest;

TEST_F(BadPromptInput, EachGivesItsOneOutcomeAndShowsWhatWasTyped) {
  for (const PromptCase& c : kPromptCases) {
    reset_console();
    reset_keyboard();
    reset_run_state(run);
    script_key_events(terminal_keys(c.typed), ScriptEnd::EndOfInput);
    const LogicOutcome outcome = run_logic_guarded([this] { ask_parameters(run); });
    EXPECT_EQ(outcome.exit_code, c.exit_code) << c.name;
    if (c.exit_code != 0) {
      EXPECT_EQ(outcome.message.rfind("Runtime error " + std::to_string(c.exit_code) + ":", 0), 0u)
          << c.name << ": " << outcome.message;
    }
    EXPECT_EQ(run.insect_count, c.n) << c.name;
    EXPECT_EQ(run.box1_count, c.k) << c.name;
    int number = 3;
    for (const std::string& expected : c.rows) EXPECT_EQ(inner_row(number++), expected) << c.name;
    EXPECT_EQ(inner_row(number), "") << c.name << ": something more on row " << number;
  }
}
