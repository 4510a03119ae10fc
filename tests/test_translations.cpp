// The programs in another language: each translation from the first help page to the closing
// line with no word of another language on any screen, its run-screen labels whole inside their
// boxes, and a trial language made of files alone, picked up by its locale.
//
// The programs run in a scratch folder holding a copy of data/ (the program fixture's working
// folder), as they run beside their data files.
#include <algorithm>
#include <bit>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "program_fixture.h"
#include "services/graphics/font8x8.h"
#include "services/program/host.h"
#include "services/text/language.h"
#include "services/text/messages.h"
#include "services/text/notices.h"
#include "services/text/po_file.h"
#include "services/program/run_time_error.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = fs::path(ZORVAN_SOURCE_DIR) / "data";

// Feeds the keys of a script one at a time: when the program waits for one (a number prompt, a
// step, a page prompt) and, while it runs on by itself, one every kTurnsPerKey turns. The
// console's screen is kept at every wait; after the script, input ends.
class ScriptedWaits : public HeadlessConsole {
 public:
  static constexpr int kTurnsPerKey = 40;

  explicit ScriptedWaits(std::string keys) : keys_(std::move(keys)) { active_ = this; }
  ~ScriptedWaits() override { active_ = nullptr; }

  // The page prompt's wait: its screen is kept by the headless console.
  void sleep(unsigned milliseconds) override {
    HeadlessConsole::sleep(milliseconds);
    feed();
  }

  // Every screen a wait showed, and the screen as it stands now.
  std::vector<Screen> screens() const {
    std::vector<Screen> all = screens_at_sleep();
    all.insert(all.end(), key_wait_screens_.begin(), key_wait_screens_.end());
    all.push_back(screen_now());
    return all;
  }

 private:
  static Screen screen_now() {
    Screen screen;
    for (int row = 1; row <= kConsoleRows; ++row) screen[row - 1] = console_row_text(row);
    return screen;
  }
  static void on_key_wait() {
    active_->key_wait_screens_.push_back(screen_now());
    active_->feed();
  }
  static void on_turn() {
    if (++active_->turns_ % kTurnsPerKey == 0 && !key_pressed()) active_->feed();
  }
  void feed() {
    if (keys_.empty()) {
      push_end_of_input();
      return;
    }
    push_key({static_cast<uint8_t>(keys_.front()), false});
    keys_.erase(0, 1);
  }

  static inline ScriptedWaits* active_ = nullptr;
  std::string keys_;
  std::vector<Screen> key_wait_screens_;
  int turns_ = 0;
  // The waits and the turns come to this object while it lives (after its console's scope).
  const ScopedHost hosted_{[](Host& record) {
    record.await_key = [](HostTime) { on_key_wait(); };
    record.turn_hook = on_turn;
  }};
};

// The help's pages in `folder`, as the viewer cuts its lines (a last line without its end counts).
std::size_t help_pages(const fs::path& folder) {
  const std::string help = file_bytes(folder / "Zorvan.hlp");
  std::size_t lines = static_cast<std::size_t>(std::count(help.begin(), help.end(), '\n'));
  if (!help.empty() && help.back() != '\n') ++lines;
  return (lines + 17) / 18;
}

// Every help page, the two numbers, two steps, Normal, Quiet, step by step again, one step, the
// end of the run and the summary's prompts.
std::string whole_run(const fs::path& folder) {
  return std::string(help_pages(folder), 'a') + "20\r10\r  ncl vaaaa";
}

// The words of a text, small: runs of letters (any byte of a UTF-8 sequence counts as one).
std::set<std::string> words_of(const std::string& text) {
  std::set<std::string> words;
  std::string word;
  for (const char c : text + " ") {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalpha(byte) || byte >= 0x80) {
      word += static_cast<char>(std::tolower(byte));
    } else if (!word.empty()) {
      words.insert(word);
      word.clear();
    }
  }
  return words;
}

// A text without its quotations: what stands between double quotes on a line (the name of a
// chart, or the Hungarian word a key's letter begins) is cited, not said.
std::string unquoted(const std::string& text) {
  std::string out;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\n' || c == '\r') {
      quoted = false;
      out += c;
    } else if (!quoted) {
      out += c;
    }
  }
  return out;
}

// Every text a language's programs show, UTF-8: the messages and the help and summary files.
std::string language_texts(const fs::path& data, const std::string& language) {
  const bool original = language == kOriginalLanguage;
  const fs::path folder = original ? data : data / language;
  std::string all;
  if (original) {
    for (const MessageInfo& info : message_table()) all += std::string(info.original) + "\n";
  } else {
    for (const PoEntry& entry : parse_po(file_bytes(folder / kCatalogueName)).entries)
      all += entry.translation + "\n";
  }
  for (const char* name : {"Zorvan.hlp", "Zorvan2.sum", "Zorvan.sum"})
    all += cp852_to_utf8(file_bytes(folder / name));
  return all;
}

// Common words of Hungarian and English that no other language's texts say: a text left
// untranslated in a language's own files shows them.
const std::map<std::string, std::set<std::string>> kTellingWords = {
    {"hu", {"az",    "és",    "egy",      "hogy",     "nem",     "van",         "meg",
            "ha",    "vége",  "fuss",     "nincs",    "legyen",  "rovar",       "doboz",
            "lépés", "futás", "eloszlás", "változás", "csendes", "lapozhatunk", "szimuláció"}},
    {"en",
     {"the", "and", "of", "with", "how", "many", "box", "boxes", "insects", "step", "steps", "page",
      "next", "chart", "end", "quiet", "summary", "tale"}},
};

// The words that must not show when `language` speaks, but in a quotation: those of the other
// languages' texts that its own texts never say (outside quotations), and the telling words of
// the other languages.
std::set<std::string> foreign_words(const fs::path& data, const std::string& language) {
  const std::set<std::string> own = words_of(unquoted(language_texts(data, language)));
  std::set<std::string> foreign;
  for (const std::string& other : available_languages(data.string())) {
    if (other == language) continue;
    for (const std::string& word : words_of(language_texts(data, other)))
      if (!own.contains(word)) foreign.insert(word);
    const auto telling = kTellingWords.find(other);
    if (telling != kTellingWords.end())
      foreign.insert(telling->second.begin(), telling->second.end());
  }
  return foreign;
}

// The foreign words a text says, space-separated; empty when it says none.
std::string foreign_in(const std::string& text, const std::set<std::string>& foreign) {
  std::string found;
  for (const std::string& word : words_of(unquoted(text)))
    if (foreign.contains(word)) found += word + " ";
  return found;
}

// The languages that translate the programs, each from its own folder.
std::vector<std::string> translations() {
  std::vector<std::string> languages = available_languages(kDataDir.string());
  languages.erase(languages.begin());  // Hungarian, the original
  return languages;
}

// The pixels the glyphs of a code page 852 text light.
int glyph_pixels(const std::string& text) {
  int count = 0;
  for (const char c : text) {
    const uint8_t* glyph = &kFont8x8[8 * static_cast<uint8_t>(c)];
    for (int row = 0; row < 8; ++row) count += std::popcount(glyph[row]);
  }
  return count;
}

class Translations : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    fs::copy(kDataDir, dir_, fs::copy_options::recursive);
  }
  void TearDown() override {
    set_up_language("hu", {}, ".");
    RunTest::TearDown();
  }

  // The run screen of a fresh start of `version` at the surface's size, copied.
  std::vector<uint8_t> run_screen(const VersionDescription& version) {
    reset_random();
    start_run(20, 10, version);
    std::vector<uint8_t> pixels = snapshot();
    close_graphics();
    return pixels;
  }

  // Checks that `label` stands whole inside its box on the run screen of `version`: the screen
  // with the label's text differs from the screen with blanks of its length in exactly the
  // glyphs' pixels (none cut off, none on another line), and around those pixels the screen
  // without them has a box's lines on all four sides with nothing else on the text's rows.
  void expect_whole_in_its_box(const PoFile& english, Message label,
                               const VersionDescription& version, int width, int height) {
    const std::string& text = message_cp852(label);
    SCOPED_TRACE(cp852_to_utf8(text) + " at " + std::to_string(width) + "x" +
                 std::to_string(height));
    const std::vector<uint8_t> with_text = run_screen(version);
    PoFile blanked = english;
    for (PoEntry& entry : blanked.entries) {
      if (entry.context == message_table()[static_cast<std::size_t>(label)].id) {
        entry.translation = std::string(text.size(), ' ');
      }
    }
    install_catalogue(blanked);
    const std::vector<uint8_t> without = run_screen(version);
    install_catalogue(english);

    int count = 0, x1 = width, y1 = height, x2 = -1, y2 = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        if (with_text[i] == without[i]) continue;
        ++count;
        x1 = std::min(x1, x);
        x2 = std::max(x2, x);
        y1 = std::min(y1, y);
        y2 = std::max(y2, y);
      }
    }
    EXPECT_EQ(count, glyph_pixels(text));
    ASSERT_GE(x2, 0);
    const auto lit = [&](int x, int y) {
      return without[static_cast<std::size_t>(y) * width + x] != 0;
    };
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    int left = x1 - 1, right = x2 + 1, top = y1 - 1, bottom = y2 + 1;
    while (left >= 0 && !lit(left, ym)) --left;
    while (right < width && !lit(right, ym)) ++right;
    while (top >= 0 && !lit(xm, top)) --top;
    while (bottom < height && !lit(xm, bottom)) ++bottom;
    EXPECT_TRUE(left >= 0 && right < width && top >= 0 && bottom < height)
        << left << " " << right << " " << top << " " << bottom;
    int others = 0;  // what else stands on the text's rows inside the box
    for (int y = y1; y <= y2; ++y) {
      for (int x = left + 1; x < right; ++x) others += lit(x, y) ? 1 : 0;
    }
    EXPECT_EQ(others, 0);
  }
};

using TrialLanguage = Translations;

// Letters made capitals outside the parts between `open` and `close` (placeholders, markers).
std::string capitals_outside(const std::string& text, const std::string& open,
                             const std::string& close) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, open.size(), open) == 0) {
      const std::size_t end = text.find(close, at) + close.size();
      out += text.substr(at, end - at);
      at = end;
    } else {
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at++])));
    }
  }
  return out;
}

// A catalogue's text: each entry with its id, original and translation.
std::string po_text(const PoFile& catalogue) {
  const auto quoted = [](const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    return out + "\"\n";
  };
  std::string text;
  for (const PoEntry& entry : catalogue.entries) {
    text += "msgctxt " + quoted(entry.context) + "msgid " + quoted(entry.original) + "msgstr " +
            quoted(entry.translation) + "\n";
  }
  return text;
}

}  // namespace

// The first line of a data file of the language in use, UTF-8.
std::string first_line(const std::string& name) {
  const std::string text = cp852_to_utf8(file_bytes(language_file(name)));
  return text.substr(0, text.find_first_of("\r\n"));
}

// Each language, both programs: every screen shows its texts and none of another language's.
TEST_F(Translations, EachLanguageRunsFromTheFirstHelpPageToTheClosingLineInItsOwnWords) {
  for (const std::string& language : translations()) {
    const std::set<std::string> foreign = foreign_words(dir_, language);
    for (const VersionDescription* version : {&kSecondVersion, &kFirstVersion}) {
      SCOPED_TRACE(language + " " + std::string(version->program_name));
      ASSERT_TRUE(set_up_language(language, {}, ".").ok);
      reset_random();
      ScriptedWaits waits(whole_run(dir_ / language));
      const LogicOutcome outcome = run_logic_guarded([&] { run_main_sequence(*version); });
      EXPECT_EQ(outcome.exit_code, 0) << outcome.message;
      std::string all;
      for (const HeadlessConsole::Screen& screen : waits.screens()) {
        for (const std::string& text : screen) {
          EXPECT_EQ(foreign_in(text, foreign), "") << text;
          all += text + "\n";
        }
      }
      // What the person reads is the language's: a help page, the prompts, a summary page, the
      // closing line.
      for (const std::string& own :
           {"▓▓" + message_text(Message::FrameTitle) + "▓▓", message_text(Message::PagePrompt),
            first_line("Zorvan.hlp"), message_text(Message::PromptInsects) + "140]20",
            message_text(Message::PromptBox1) + " 20]10",
            first_line(std::string(version->summary_file)), message_text(Message::ClosingLine)}) {
        EXPECT_NE(all.find(own), std::string::npos) << own;
      }
    }
  }
}

TEST_F(Translations, EachLanguagesLabelsStandWholeInsideTheirBoxes) {
  for (const std::string& language : translations()) {
    const PoFile catalogue = parse_po(file_bytes(dir_ / language / kCatalogueName));
    ASSERT_TRUE(set_up_language(language, {}, ".").ok);
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1920, 1080}}) {
      use_surface_size(width, height);
      for (const VersionDescription* version : {&kSecondVersion, &kFirstVersion}) {
        reset_run_state(run, *version);
        expect_whole_in_its_box(catalogue, Message::FrameTitle, *version, width, height);
        expect_whole_in_its_box(catalogue, Message::Legend, *version, width, height);
        for (const PanelDesign& panel : version->panels) {
          expect_whole_in_its_box(catalogue, panel.title, *version, width, height);
        }
      }
    }
  }
}

// The notices and the run-time errors, which the terminal shows before or after the screens:
// the Hungarian originals carry English words in brackets, a translation its own words alone.
// "Runtime error N: " begins an error's message in every language.
TEST_F(Translations, NoticesAndErrorsSayItInTheLanguageAlone) {
  for (const std::string& language : translations()) {
    SCOPED_TRACE(language);
    const std::set<std::string> foreign = foreign_words(dir_, language);
    ASSERT_TRUE(set_up_language(language, {}, ".").ok);
    for (const std::string& text :
         {notice::enlarge_terminal(60, 20), notice::unusable_terminal(nullptr),
          notice::console_failed("x"), notice::no_display(), notice::window_failed(),
          notice::display_lost(), notice::zoom_too_large(3, 2),
          notice::bad_argument("-z", "xx, yy"), notice::unknown_language("qq", "xx, yy"),
          notice::bad_catalogue("qq/zorvan.po", 3), notice::internal_error("x"),
          run_time_error_explanation(kErrorInvalidNumber),
          run_time_error_explanation(kErrorReadPastEnd), run_time_error_explanation(1)}) {
      EXPECT_EQ(foreign_in(text, foreign), "") << text;
      EXPECT_FALSE(text.ends_with("]")) << text;  // no words in brackets after it
    }
    EXPECT_TRUE(run_time_error_message(kErrorInvalidNumber).starts_with("Runtime error 106: "));
  }
}

// A language of files alone: English in capitals as "xx", its catalogue and three files in
// data/xx/ of the working folder. Its locale picks it, and the whole run speaks it.
TEST_F(TrialLanguage, AFolderOfFilesIsALanguageWithNoChangeToTheCode) {
  fs::create_directories(dir_ / "xx");
  PoFile catalogue = parse_po(file_bytes(dir_ / "en" / kCatalogueName));
  for (PoEntry& entry : catalogue.entries) {
    entry.translation = capitals_outside(entry.translation, "{", "}");
  }
  std::ofstream(dir_ / "xx" / kCatalogueName, std::ios::binary) << po_text(catalogue);
  for (const char* name : {"Zorvan.hlp", "Zorvan2.sum", "Zorvan.sum"}) {
    std::ofstream(dir_ / "xx" / name, std::ios::binary)
        << capitals_outside(file_bytes(dir_ / "en" / name), "<@", "@>");
  }
  std::vector<std::string> languages = available_languages(kDataDir.string());
  languages.push_back("xx");
  EXPECT_EQ(available_languages("."), languages);
  ASSERT_TRUE(set_up_language("", {"qq:xx", nullptr, nullptr, "qq_QQ.UTF-8"}, ".").ok);
  EXPECT_EQ(current_language(), "xx");

  ScriptedWaits waits(whole_run(dir_ / "xx"));
  EXPECT_EQ(run_logic_guarded([this] { run_main_sequence(run, kFirstVersion); }).exit_code, 0);
  std::string all;
  for (const HeadlessConsole::Screen& screen : waits.screens()) {
    for (const std::string& text : screen) all += text + "\n";
  }
  for (const char* trial : {" SIMULATION ", "NEXT PAGE?", "TWO BOXES HOLD N INSECTS BETWEEN THEM",
                            "HOW MANY ZORVANS IN ALL? [5-140]20", "STEPS IN ALL: ",
                            "THE DIRECTION OF TIME", "AND THAT IS THE END OF THE TALE!!!!"}) {
    EXPECT_NE(all.find(trial), std::string::npos) << trial;
  }
  EXPECT_EQ(all.find("Next page?"), std::string::npos);
  EXPECT_EQ(run.empirical_panel.title, "DISTRIBUTION");
}
