// The text frame, the page prompt, the help pages and the two parameter prompts.
#include <string>

#include "program_fixture.h"
#include "sim/help_viewer.h"
#include "sim/text_frame.h"

namespace {

std::string numbered_lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "sor " + std::to_string(i) + "\r\n";
  return text;
}

}  // namespace

using TextFrame = ProgramTest;
using HelpViewer = ProgramTest;
using ParameterPrompts = ProgramTest;

TEST_F(TextFrame, DrawsBorderBrightTitleAndInnerWindow) {
  draw_text_frame(run);
  const std::string shade = "▓";
  std::string full;
  for (int i = 0; i < 80; ++i) full += shade;
  EXPECT_EQ(row(24), full);
  EXPECT_EQ(row(1).substr(0, 33 * shade.size()), full.substr(0, 33 * shade.size()));
  EXPECT_NE(row(1).find(" Szimuláció "), std::string::npos);
  EXPECT_EQ(row(12), shade + std::string(78, ' ') + shade);
  EXPECT_EQ(console_state().cells[0][33].attribute, kWhite);
  EXPECT_EQ(console_state().cells[0][32].attribute, kLightGrey);
  EXPECT_EQ(console_state().cells[1][0].attribute, kLightGrey);
  EXPECT_EQ(run.screen_state, ScreenState::Text);
  write_text("x");
  EXPECT_EQ(console_state().cells[2][2].character, 'x');  // column 3, row 3
}

TEST_F(TextFrame, PagePromptTurnsItsSpinnerUntilAKeyComes) {
  draw_text_frame(run);
  script_keys("q");
  EXPECT_EQ(page_prompt(), 'q');
  EXPECT_EQ(row(25), std::string(34, ' ') + "Lapozhatunk?\\");
  EXPECT_EQ(console_.slept_ms(), 100u);
}

TEST_F(HelpViewer, PagesEighteenLinesAtATime) {
  write_data_file("Zorvan.hlp", numbered_lines(19));
  script_keys("ab");
  show_help(run);
  EXPECT_EQ(page_prompts(), 2u);
  EXPECT_EQ(row(4), "▓ sor 19" + std::string(71, ' ') + "▓");
  EXPECT_EQ(row(5), "▓" + std::string(78, ' ') + "▓");
}

TEST_F(HelpViewer, EighteenLinesMakeOnePage) {
  write_data_file("Zorvan.hlp", numbered_lines(18));
  script_keys("a");
  show_help(run);
  EXPECT_EQ(page_prompts(), 1u);
  EXPECT_NE(row(4).find("sor 1 "), std::string::npos);
  EXPECT_NE(row(21).find("sor 18"), std::string::npos);
}

TEST_F(HelpViewer, EmptyFileShowsNoPage) {
  write_data_file("Zorvan.hlp", "");
  show_help(run);
  EXPECT_EQ(page_prompts(), 0u);
  EXPECT_EQ(row(1), "");
}

TEST_F(HelpViewer, MissingFileGivesBrightMessageAndOnePrompt) {
  script_keys("a");
  show_help(run);
  EXPECT_EQ(page_prompts(), 1u);
  EXPECT_EQ(row(1), "  Nincs meg a tájékoztató fájl!!!");
  EXPECT_EQ(console_state().cells[0][2].attribute, kWhite);
  EXPECT_EQ(console_state().attribute, kLightGrey);
}

TEST_F(HelpViewer, FirstVersionSaysFileInItsMessage) {
  reset_run_state(run, kFirstVersion);
  script_keys("a");
  show_help(run);
  EXPECT_EQ(row(1), "  Nincs meg a tájékoztató file!!!");
}

TEST_F(HelpViewer, LongLinesAreCutAtEightyAndWrapInTheWindow) {
  const std::string hundred(100, 'x');
  write_data_file("Zorvan.hlp", hundred + "\r\n" + std::string(76, 'y') + "\nlast");
  script_keys("a");
  show_help(run);
  EXPECT_EQ(row(4), "▓ " + std::string(76, 'x') + " ▓");
  EXPECT_EQ(row(5), "▓ xxxx" + std::string(73, ' ') + "▓");
  EXPECT_EQ(row(6), "▓ " + std::string(76, 'y') + " ▓");
  EXPECT_EQ(row(7), "▓" + std::string(78, ' ') + "▓");  // the line end after 76 characters
  EXPECT_EQ(row(8), "▓ last" + std::string(73, ' ') + "▓");
}

TEST_F(HelpViewer, CtrlZEndsTheFileWhereItStands) {
  write_data_file("Zorvan.hlp", "elso\r\nmasodik\x1Aharmadik\r\nnegyedik\r\n");
  script_keys("a");
  show_help(run);
  EXPECT_EQ(page_prompts(), 1u);
  EXPECT_NE(row(5).find("masodik "), std::string::npos);
  EXPECT_EQ(row(6), "▓" + std::string(78, ' ') + "▓");
}

TEST_F(HelpViewer, ExtendedKeyTurnsTwoPages) {
  write_data_file("Zorvan.hlp", numbered_lines(40));
  script_key_events({{scan::kDown, true}, {'a', false}});
  show_help(run);
  EXPECT_EQ(page_prompts(), 3u);
}

TEST_F(ParameterPrompts, AskForNThenKWithTheirBounds) {
  script_keys("5\r2\r");
  ask_parameters(run);
  EXPECT_EQ(run.insect_count, 5);
  EXPECT_EQ(run.box1_count, 2);
  EXPECT_EQ(row(3), "▓ Hány Zorvan legyen összesen? [5-140]5" + std::string(40, ' ') + "▓");
  EXPECT_EQ(row(4).find("▓ Hány Zorvan legyen az 1. dobozban? [0-  5]2 "), 0u);
}

TEST_F(ParameterPrompts, OutOfRangeAnswersBringThePromptBack) {
  script_keys("4\r141\r0\r-7\r65541\r\r   140 tail\r141\r-1\r140\r");
  ask_parameters(run);
  EXPECT_EQ(run.insect_count, 140);
  EXPECT_EQ(run.box1_count, 140);
  for (int r = 3; r <= 8; ++r) EXPECT_NE(row(r).find("összesen? [5-140]"), std::string::npos) << r;
  EXPECT_NE(row(10).find("dobozban? [0-140]141"), std::string::npos);
  EXPECT_NE(row(12).find("dobozban? [0-140]140"), std::string::npos);
}

TEST_F(ParameterPrompts, TextThatIsNotANumberEndsWithError106) {
  const LogicOutcome outcome = run_program("\rabc\r");
  EXPECT_EQ(outcome.exit_code, 106);
  EXPECT_NE(outcome.message.find("Runtime error 106"), std::string::npos);
}

TEST_F(ParameterPrompts, EndOfInputAtAPromptEndsWithError100) {
  const LogicOutcome outcome = run_program("x7\r");
  EXPECT_EQ(outcome.exit_code, 100);
  EXPECT_EQ(run.insect_count, 7);
}
