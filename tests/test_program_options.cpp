// The command line and ZORVAN_ZOOM: the zoom (1..8, whole, decimal or "max"), a language and the
// run's choices are accepted; anything else is refused and named, so the program can say what it
// did not understand. Answers given in advance keep the prompts' limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "services/text/notices.h"
#include "services/numbers/number_text.h"
#include "services/program/program_options.h"
#include "services/program/run_choices.h"

namespace {

ParsedOptions parse(std::vector<const char*> arguments, const char* variable = nullptr) {
  arguments.insert(arguments.begin(), "zorvan2");
  return parse_host_options(static_cast<int>(arguments.size()), arguments.data(), variable);
}

}  // namespace

TEST(ProgramOptions, WithoutArgumentsNothingChanges) {
  const ParsedOptions parsed = parse({});
  EXPECT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.options.zoom, 1);
  EXPECT_TRUE(parse({}, "").ok);  // an empty variable counts as unset
}

TEST(ProgramOptions, ZoomComesFromTheCommandLineOrTheEnvironment) {
  EXPECT_EQ(parse({"--zoom", "2"}).options.zoom, 2);
  EXPECT_EQ(parse({"--zoom=3"}).options.zoom, 3);
  EXPECT_EQ(parse({}, "4").options.zoom, 4);
  EXPECT_EQ(parse({"--zoom", "2"}, "4").options.zoom, 2);  // the command line wins
  EXPECT_EQ(parse({"--zoom", "8"}).options.zoom, 8);
  const ParsedOptions both = parse({"--lang", "en", "--zoom=2"});
  EXPECT_EQ(both.options.language, "en");
  EXPECT_EQ(both.options.zoom, 2);
  EXPECT_EQ(parse({"--lang=pt_BR"}).options.language, "pt_BR");
  EXPECT_EQ(parse({}).options.language, "");
}

TEST(ProgramOptions, FractionalAndLargestZoomsAndTheRunsChoicesAreTaken) {
  EXPECT_DOUBLE_EQ(parse({"--zoom", "1.5"}).options.zoom, 1.5);
  EXPECT_DOUBLE_EQ(parse({}, "2.25").options.zoom, 2.25);
  EXPECT_TRUE(parse({"--zoom=max"}).options.largest_zoom);
  EXPECT_FALSE(parse({"--zoom=max", "--zoom", "2"}).options.largest_zoom);  // the last one wins
  const ParsedOptions parsed =
      parse({"--seed", "4294967295", "--n=20", "--k", "7", "--no-help", "--save", "out dir"});
  ASSERT_TRUE(parsed.ok);
  const RunChoices& run = parsed.options.run;
  EXPECT_EQ(run.seed, 4294967295u);
  EXPECT_EQ(run.insect_count, 20);
  EXPECT_EQ(run.box1_count, 7);
  EXPECT_TRUE(run.skip_help);
  EXPECT_EQ(run.save_folder, "out dir");
  EXPECT_TRUE(parse({"--window"}).options.window);
  EXPECT_FALSE(parse({}).options.window);
  const RunChoices none = parse({}).options.run;
  EXPECT_EQ(none.seed, 0u);
  EXPECT_FALSE(none.insect_count || none.box1_count || none.skip_help);
  EXPECT_EQ(zoom_text(2), "2");
  EXPECT_EQ(zoom_text(1.5), "1.5");
  EXPECT_EQ(zoom_text(1366 / 640.0), "2.13");  // cut down: that zoom still fits
}

TEST(ProgramOptions, AnswersInAdvanceKeepThePromptsLimitsAndKNeedsN) {
  const auto problem = [](std::optional<int> n, std::optional<int> k) {
    RunChoices choices;
    choices.insect_count = n;
    choices.box1_count = k;
    return run_choices_problem(choices);
  };
  EXPECT_EQ(problem({}, {}), "");
  EXPECT_EQ(problem(5, 0), "");
  EXPECT_EQ(problem(140, 140), "");
  EXPECT_EQ(problem(20, {}), "");
  EXPECT_NE(problem(4, {}).find("--n 4"), std::string::npos);
  EXPECT_NE(problem(141, 3).find("5"), std::string::npos);
  EXPECT_NE(problem(20, 21).find("--k 21"), std::string::npos);
  EXPECT_NE(problem(20, -1).find("--k -1"), std::string::npos);
  EXPECT_EQ(problem({}, 3), notice::box1_needs_insects());
}

TEST(ProgramOptions, AnythingElseIsRefusedAndNamed) {
  const struct {
    std::vector<const char*> arguments;
    const char* variable;
    const char* rejected;
  } cases[] = {
      {{"--zoom", "0"}, nullptr, "--zoom 0"},     {{"--zoom", "9"}, nullptr, "--zoom 9"},
      {{"--zoom", "2x"}, nullptr, "--zoom 2x"},   {{"--zoom", "-1"}, nullptr, "--zoom -1"},
      {{"--zoom"}, nullptr, "--zoom"},            {{"--zoom="}, nullptr, "--zoom "},
      {{"-z", "2"}, nullptr, "-z"},               {{"extra"}, nullptr, "extra"},
      {{}, "big", "ZORVAN_ZOOM=big"},             {{}, "99999999999", "ZORVAN_ZOOM=99999999999"},
      {{"--lang"}, nullptr, "--lang"},            {{"--lang="}, nullptr, "--lang "},
      {{"--language", "en"}, nullptr, "--language"},
      {{"--zoom", "0.5"}, nullptr, "--zoom 0.5"}, {{"--zoom", "8.5"}, nullptr, "--zoom 8.5"},
      {{"--zoom", "1."}, nullptr, "--zoom 1."},   {{"--zoom", "1,5"}, nullptr, "--zoom 1,5"},
      {{"--zoom", "MAX"}, nullptr, "--zoom MAX"}, {{}, "1.5x", "ZORVAN_ZOOM=1.5x"},
      {{"--seed", "-1"}, nullptr, "--seed -1"},
      {{"--seed=4294967296"}, nullptr, "--seed 4294967296"},
      {{"--n", "x"}, nullptr, "--n x"},           {{"--k="}, nullptr, "--k "},
      {{"--save="}, nullptr, "--save "},          {{"--no-help=1"}, nullptr, "--no-help=1"},
      {{"--window=1"}, nullptr, "--window=1"},
  };
  for (const auto& c : cases) {
    const ParsedOptions parsed = parse(c.arguments, c.variable);
    EXPECT_FALSE(parsed.ok) << c.rejected;
    EXPECT_EQ(parsed.rejected, c.rejected);
  }
}

// The usage that a refused argument brings names every option the command line takes.
TEST(ProgramOptions, TheUsageNamesEveryOptionTaken) {
  const std::string usage = notice::bad_argument("-z", "hu");
  for (const char* option :
       {"--zoom", "--lang", "--seed", "--n", "--k", "--no-help", "--window", "--save"}) {
    EXPECT_TRUE(parse({option, "1"}).ok || parse({option}).ok) << option;
    EXPECT_NE(usage.find(std::string("[") + option), std::string::npos) << option;
  }
}

TEST(ProgramOptions, NoticesAreHungarianWithTheEnglishInBrackets) {
  for (const std::string& text :
       {notice::enlarge_terminal(60, 20), notice::no_display(), notice::zoom_too_large(3, 2),
        notice::bad_argument("-z", "hu"), notice::window_failed(), notice::display_lost(),
        notice::unknown_language("xx", "hu, en"), notice::bad_catalogue("en/zorvan.po", 3),
        notice::unusable_terminal("dumb"), notice::console_failed("x"),
        notice::answer_out_of_range("--n", 3, 5, 140), notice::box1_needs_insects(),
        notice::save_folder_missing("x"), notice::save_failed("x", "y")}) {
    const std::size_t bracket = text.rfind(" [");
    ASSERT_NE(bracket, std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("]")) << text;
    // Accented letters before the bracket: the Hungarian part comes first.
    const std::string hungarian = text.substr(0, bracket);
    EXPECT_TRUE(std::any_of(hungarian.begin(), hungarian.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        << text;
  }
  EXPECT_NE(notice::enlarge_terminal(60, 20).find("60x20"), std::string::npos);
  EXPECT_NE(notice::zoom_too_large(3, 2).find("legfeljebb --zoom 2 "), std::string::npos);
  EXPECT_NE(notice::zoom_too_large(2, 1.6).find("legfeljebb --zoom 1.6 "), std::string::npos);
}
