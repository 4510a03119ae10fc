// The command line and ZORVAN_ZOOM: the zoom, a whole number 1..8, and a language are accepted;
// anything else is refused and named, so the program can say what it did not understand.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "services/notices.h"
#include "services/program_options.h"

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
  };
  for (const auto& c : cases) {
    const ParsedOptions parsed = parse(c.arguments, c.variable);
    EXPECT_FALSE(parsed.ok) << c.rejected;
    EXPECT_EQ(parsed.rejected, c.rejected);
  }
}

TEST(ProgramOptions, NoticesAreHungarianWithTheEnglishInBrackets) {
  for (const std::string& text :
       {notice::enlarge_terminal(60, 20), notice::no_display(), notice::zoom_too_large(3, 2),
        notice::bad_argument("-z", "hu"), notice::window_failed(), notice::display_lost(),
        notice::unknown_language("xx", "hu, en"), notice::bad_catalogue("en/zorvan.po", 3),
        notice::unusable_terminal("dumb"), notice::console_failed("x")}) {
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
}
