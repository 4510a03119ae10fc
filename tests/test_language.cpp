// Choosing the language: --lang, then the locale variables as gettext reads them, Hungarian
// under the C locale and for any language without a catalogue; and the languages a data folder
// offers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "services/text/language.h"
#include "services/text/messages.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kAvailable = {"hu", "en", "pt_BR"};

// A scratch data folder, removed with its languages after the test.
class LanguageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zorvan-language-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    set_up_language("hu", {}, dir_);
    fs::remove_all(dir_);
  }
  void write(const std::string& path, const std::string& text) {
    fs::create_directories((dir_ / path).parent_path());
    std::ofstream(dir_ / path, std::ios::binary) << text;
  }
  fs::path dir_;
};

}  // namespace

TEST(Language, ChoiceFollowsTheArgumentThenTheLocaleVariables) {
  const struct {
    const char* requested;
    LocaleVariables variables;
    const char* language;
    bool refused;
  } cases[] = {
      {"", {}, "hu", false},                                              // nothing set: C
      {"en", {}, "en", false},
      {"en_US", {"hu", "hu_HU.UTF-8", nullptr, nullptr}, "en", false},    // --lang wins
      {"pt_BR", {}, "pt_BR", false},
      {"pt_PT", {}, "hu", true},                                          // no such catalogue
      {"de", {nullptr, nullptr, nullptr, "en_GB.UTF-8"}, "en", true},     // ... the locale's
      {"../en", {}, "hu", true},
      {"", {nullptr, nullptr, nullptr, "en_GB.UTF-8"}, "en", false},
      {"", {nullptr, nullptr, "en_US", "hu_HU"}, "en", false},            // LC_MESSAGES first
      {"", {nullptr, "hu_HU.UTF-8", "en_US", "en_US"}, "hu", false},      // LC_ALL first
      {"", {nullptr, "", "", "en_US"}, "en", false},                      // empty counts as unset
      {"", {"de:en:hu", nullptr, nullptr, "de_DE.UTF-8"}, "en", false},   // LANGUAGE in order
      {"", {"pt_BR:en", nullptr, nullptr, "hu_HU"}, "pt_BR", false},
      {"", {"de", nullptr, nullptr, "en_US.UTF-8"}, "en", false},         // then the locale
      {"", {"en", nullptr, nullptr, "C"}, "hu", false},                   // C ignores LANGUAGE
      {"", {"en", nullptr, nullptr, nullptr}, "hu", false},               // ... unset is C
      {"", {nullptr, "POSIX", nullptr, "en_US"}, "hu", false},
      {"", {nullptr, nullptr, nullptr, "C.UTF-8"}, "hu", false},
      {"", {"en", nullptr, nullptr, "C.UTF-8"}, "en", false},             // C.UTF-8 is no C
      {"", {nullptr, nullptr, nullptr, "de_DE.UTF-8"}, "hu", false},      // no catalogue
      {"", {nullptr, nullptr, nullptr, "sr_RS@latin"}, "hu", false},
      {"", {nullptr, nullptr, nullptr, "en@quot"}, "en", false},
  };
  for (const auto& c : cases) {
    const LanguageChoice choice = choose_language(c.requested, c.variables, kAvailable);
    EXPECT_EQ(choice.language, c.language)
        << c.requested << " " << (c.variables.lang != nullptr ? c.variables.lang : "-");
    EXPECT_EQ(choice.refused, c.refused) << c.requested;
  }
}

TEST_F(LanguageFolder, FoldersWithACatalogueAreTheLanguagesAndOneIsPutInUse) {
  EXPECT_EQ(available_languages(dir_), std::vector<std::string>{"hu"});
  write("en/zorvan.po",
        "msgctxt \"frame.title\"\nmsgid \" Szimuláció \"\nmsgstr \" Simulation \"\n");
  write("de/Zorvan.hlp", "no catalogue\r\n");
  write("hu/zorvan.po", "");
  write("Tmp/zorvan.po", "");
  write("xx_1/zorvan.po", "");
  write("xx_YY/zorvan.po", "msgid \"a\"\n");
  EXPECT_EQ(available_languages(dir_), (std::vector<std::string>{"hu", "en", "xx_YY"}));
  EXPECT_EQ(language_list(dir_), "hu, en, xx_YY");

  EXPECT_TRUE(set_up_language("", {nullptr, nullptr, nullptr, "en_AU.UTF-8"}, dir_).ok);
  EXPECT_EQ(current_language(), "en");
  EXPECT_EQ(message_text(Message::FrameTitle), " Simulation ");
  EXPECT_EQ(message_text(Message::PagePrompt), "Lapozhatunk?");  // not in the catalogue
  EXPECT_EQ(language_file("Zorvan.hlp"), "en/Zorvan.hlp");

  // A refused --lang: the notice names the languages, in the language of the locale.
  const LanguageSetUp refused = set_up_language("de", {nullptr, nullptr, nullptr, "en_AU"}, dir_);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(current_language(), "en");
  EXPECT_NE(refused.notice.find("--lang de"), std::string::npos) << refused.notice;
  EXPECT_NE(refused.notice.find("hu, en, xx_YY"), std::string::npos) << refused.notice;

  // A catalogue that cannot be read: Hungarian, and the notice names its first bad line.
  const LanguageSetUp broken = set_up_language("xx_YY", {}, dir_);
  EXPECT_FALSE(broken.ok);
  EXPECT_EQ(current_language(), "hu");
  EXPECT_EQ(language_file("Zorvan.hlp"), "Zorvan.hlp");
  EXPECT_EQ(message_text(Message::FrameTitle), " Szimuláció ");
  EXPECT_NE(broken.notice.find("xx_YY/zorvan.po"), std::string::npos) << broken.notice;
  EXPECT_NE(broken.notice.find(" 1. sora"), std::string::npos) << broken.notice;
}
