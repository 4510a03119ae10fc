// The summary report: marker replacement line by line, and the paging of the summary file with
// its closing line, for both versions.
#include <string>

#include "charts/summary_text.h"
#include "charts/theory.h"
#include "program_fixture.h"
#include "sim/summary_report.h"

namespace {

// The second version replaces all five markers, in this order.
const std::span<const SummaryMarker> kAllMarkers = kSecondVersion.summary_markers;

SummaryFigureTexts texts(int64_t t, int n, int k, double first, double final) {
  return summary_figure_texts({t, n, k, first, final});
}

std::string replaced(std::string line, const SummaryFigureTexts& figures,
                     std::span<const SummaryMarker> markers = kAllMarkers) {
  replace_markers(line, markers, figures);
  return line;
}

std::string numbered_lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "sor " + std::to_string(i) + "\r\n";
  return text;
}

const std::string kShade = "▓";

// A frame row with `text` in the inner window (columns 3..78).
std::string frame_row(const std::string& text) {
  return kShade + " " + text + std::string(77 - text.size(), ' ') + kShade;
}

}  // namespace

TEST(SummaryText, SplitAtMarkerTakesTheFirstOccurrence) {
  const MarkerSplit split = split_at_marker("a<@T@>b<@T@>c", "<@T@>");
  EXPECT_EQ(split.before, "a");
  EXPECT_EQ(split.after, "b<@T@>c");
}

TEST(SummaryText, FiguresAreShortestDecimalsAndTwoDecimalsInFiveCharacters) {
  const SummaryFigureTexts t = texts(0, 140, 0, 0.0, 0.5);
  EXPECT_EQ(replaced("T=<@T@> N=<@N@> K=<@K@>", t), "T=0 N=140 K=0");
  EXPECT_EQ(replaced("[<@Eloszlasok1@>][<@EloszlasokV@>]", t), "[ 0.00][ 0.50]");
  EXPECT_EQ(replaced("[<@EloszlasokV@>]", texts(0, 5, 0, 0.0, 11.87)), "[11.87]");
  EXPECT_EQ(replaced("<@T@>", texts(9'876'543'210'123LL, 5, 0, 0, 0)), "9876543210123");
}

TEST(SummaryText, EveryOccurrenceIsReplacedAndOtherLetterCaseIsLeftAlone) {
  const SummaryFigureTexts t = texts(42, 5, 3, 0, 0);
  EXPECT_EQ(replaced("<@T@> es <@T@>", t), "42 es 42");
  EXPECT_EQ(replaced("<@t@> <@n@> <@Eloszlasokv@>", t), "<@t@> <@n@> <@Eloszlasokv@>");
}

TEST(SummaryText, TheFirstVersionLeavesTheDistanceMarkersAsTheyStand) {
  const std::span<const SummaryMarker> first(kFirstVersion.summary_markers);
  EXPECT_EQ(replaced("<@EloszlasokV@> <@N@> <@Eloszlasok1@>", texts(1, 7, 2, 3, 4), first),
            "<@EloszlasokV@> 7 <@Eloszlasok1@>");
}

TEST(SummaryText, ReplacementsAreCutAtEightyCharacters) {
  const SummaryFigureTexts t = texts(123456, 5, 3, 1.25, 2.5);
  // A distance marker of 15 characters gives way to 5: an 80-character line loses 10.
  const std::string full = std::string(65, 'x') + "<@EloszlasokV@>";
  EXPECT_EQ(replaced(full, t), std::string(65, 'x') + " 2.50");
  // A line that a replacement lengthens past 80 characters loses its end.
  const std::string lengthened = std::string(74, 'y') + "<@T@>z";
  EXPECT_EQ(replaced(lengthened, t), std::string(74, 'y') + "123456");
}

class SummaryReport : public RunTest {
 protected:
  // The screens the page prompts of show_summary waited on, in order.
  std::vector<HeadlessConsole::Screen> prompted_screens() {
    const auto& all = console_.screens_at_sleep();
    return {all.begin() + static_cast<std::ptrdiff_t>(screens_before_), all.end()};
  }
  // Runs show_summary with one key for each of its page prompts and input ending after them.
  void summarise(int prompts) {
    screens_before_ = console_.screens_at_sleep().size();
    script_keys(std::string(static_cast<std::size_t>(prompts), 'a'), ScriptEnd::EndOfInput);
    show_summary(run);
  }
  std::size_t screens_before_ = 0;
};

const std::string kClosingRow = std::string(24, ' ') + "Itt a vége fuss el véle!!!!";

TEST_F(SummaryReport, NineteenLinesMakeOnePageAndTwentyMakeTwo) {
  start_run(5, 2);
  write_data_file("Zorvan2.sum", numbered_lines(19));
  summarise(2);
  auto screens = prompted_screens();
  ASSERT_EQ(screens.size(), 2u);  // the empty frame's prompt and the page's
  EXPECT_EQ(screens[1][2], frame_row("sor 1"));  // the inner window's first row
  EXPECT_EQ(screens[1][20], frame_row("sor 19"));
  EXPECT_EQ(screens[1][21], frame_row(""));

  start_run(5, 2);
  write_data_file("Zorvan2.sum", numbered_lines(20));
  summarise(3);
  screens = prompted_screens();
  ASSERT_EQ(screens.size(), 3u);
  EXPECT_EQ(screens[1][20], frame_row("sor 19"));
  EXPECT_EQ(screens[2][2], frame_row("sor 20"));
  EXPECT_EQ(screens[2][3], frame_row(""));
  EXPECT_EQ(screens[2][24], std::string(34, ' ') + "Lapozhatunk?\\");
}

TEST_F(SummaryReport, PagesShowTheLinesWithTheRunsFigures) {
  start_run(7, 3);
  script_keys("v");
  turns(1);
  write_data_file("Zorvan2.sum",
                  "T=<@T@> N=<@N@> K=<@K@>\r\n[<@Eloszlasok1@>] <@T@><@T@>\r\n<@k@>");
  summarise(2);
  const auto screens = prompted_screens();
  ASSERT_EQ(screens.size(), 2u);
  EXPECT_EQ(screens[0][2], frame_row(""));  // the empty frame comes first
  EXPECT_EQ(screens[1][2], frame_row("T=0 N=7 K=3"));
  EXPECT_EQ(screens[1][3], frame_row("[ 0.00] 00"));
  EXPECT_EQ(screens[1][4], frame_row("<@k@>"));
  EXPECT_EQ(row(10), kClosingRow);
}

TEST_F(SummaryReport, FinalFiguresAreTheEndOfTheRun) {
  start_run(10, 10);
  script_keys("nv");
  turns(2);
  const SummaryFigures figures = run_figures(run);
  EXPECT_EQ(figures.step_count, 1);
  EXPECT_EQ(figures.box1_count, 9);  // K = N: the first move empties one cell of box 1
  EXPECT_DOUBLE_EQ(figures.first_step_distance, run.first_step_distance);
  EXPECT_DOUBLE_EQ(figures.final_distance, panel_distance(run.empirical_panel, run.theory_panel));
  EXPECT_GT(figures.final_distance, 0.0);
}

TEST_F(SummaryReport, AMarkerCutByTheEightyCharacterReadIsNotReplaced) {
  start_run(5, 2);
  write_data_file("Zorvan2.sum", std::string(77, '.') + "<@N@>\r\n");
  summarise(2);
  const auto screens = prompted_screens();
  ASSERT_EQ(screens.size(), 2u);
  // 80 characters wrap in the 76-column window: 76 on the first row, 4 on the next.
  EXPECT_EQ(screens[1][2], kShade + " " + std::string(76, '.') + " " + kShade);
  EXPECT_EQ(screens[1][3], frame_row(".<@N"));
}

TEST_F(SummaryReport, EmptyFileShowsTheEmptyFrameOnePromptAndTheClosingLine) {
  start_run(5, 2);
  write_data_file("Zorvan2.sum", "");
  summarise(1);
  EXPECT_EQ(prompted_screens().size(), 1u);
  EXPECT_EQ(row(10), kClosingRow);
  for (int r : {1, 9, 11, 24, 25}) EXPECT_EQ(row(r), "") << r;
  EXPECT_EQ(console_state().cursor_row, 11);  // the closing line ends with a line end
  EXPECT_EQ(run.screen_state, ScreenState::Text);
  EXPECT_THROW(get_max_x(), GraphicsNotOpen);  // the surface is closed
}

TEST_F(SummaryReport, MissingFileGivesTheBrightMessageOfEachVersion) {
  const struct {
    const VersionDescription* version;
    const char* message;
  } cases[] = {{&kSecondVersion, "  Nincs meg az összefoglaló fájl!!!  "},
               {&kFirstVersion, "  Nincs meg az összefoglaló file!!!  "}};
  for (const auto& c : cases) {
    start_run(5, 2, *c.version);
    summarise(2);
    const auto screens = prompted_screens();
    ASSERT_EQ(screens.size(), 2u);
    // Written after the prompt on row 25 (column 48), the message wraps after 33 characters and
    // its line end adds a row: the whole screen scrolls up by two, and the next prompt follows.
    const std::string message = c.message;
    std::string border;
    for (int i = 0; i < 80; ++i) border += kShade;
    EXPECT_EQ(screens[1][21], border);  // the frame's bottom edge, two rows up from row 24
    EXPECT_EQ(screens[1][22],
              std::string(34, ' ') + "Lapozhatunk?\\" + message.substr(0, message.size() - 4));
    EXPECT_EQ(screens[1][23], "!!");
    EXPECT_EQ(screens[1][24], std::string(34, ' ') + "Lapozhatunk?\\");
    EXPECT_EQ(console_state().attribute, kLightGrey);
    EXPECT_EQ(row(10), kClosingRow);
  }
}

TEST_F(SummaryReport, TheWholeProgramEndsWithTheSummaryOfItsRun) {
  write_data_file("Zorvan.hlp", "segitseg\r\n");
  write_data_file("Zorvan.sum", "T=<@T@> N=<@N@> K=<@K@> <@EloszlasokV@>\r\n");
  const LogicOutcome outcome = run_program("a5\r2\rv", kFirstVersion);
  EXPECT_EQ(outcome.exit_code, 0);
  bool found = false;
  for (const auto& screen : console_.screens_at_sleep()) {
    found = found || screen[2] == frame_row("T=0 N=5 K=2 <@EloszlasokV@>");
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(row(10), kClosingRow);
}
