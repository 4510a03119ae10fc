// The data files shipped beside the programs: the help text and the summary texts of every
// language (Hungarian's in data/, each other language's in data/<language>/ beside its
// catalogue), and the catalogues.
//
// Every help and summary file is read as raw bytes and must be code page 852 text: printable
// characters and line ends only (a stray control byte would be written to the console as it
// stands, and Ctrl-Z would end the file early), CR LF at every line's end. Lines must fit the
// 76-column inner window of the text frame with room to spare, so at most 75 characters (one
// byte is one character). The help file must give several pages of the 18-line viewer. A
// summary file must hold exactly the markers its program replaces: a misspelt marker, or a
// marker that only the second version knows, would be shown to the user as it stands. A
// catalogue must translate every message soundly (messages.h): a language found here is checked
// whatever its name, so a new one is held to the same rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "file_bytes.h"
#include "services/text/cp852.h"
#include "services/text/language.h"
#include "services/text/messages.h"
#include "services/text/po_file.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxLineLength = 75;
constexpr std::size_t kHelpPageLines = 18;
constexpr std::size_t kHelpMinPages = 3;
constexpr std::size_t kSummaryPageLines = 19;

const fs::path kDataDir = fs::path(ZORVAN_SOURCE_DIR) / "data";
const fs::path kPageTexts = fs::path(ZORVAN_SOURCE_DIR) / "web" / "page.pot";
constexpr const char* kPageCatalogueName = "page.po";
constexpr const char* kDataFileNames[] = {"Zorvan.hlp", "Zorvan2.sum", "Zorvan.sum"};

struct SummaryMarkers {
  const char* file;
  std::vector<std::string> markers;
};

const std::array<SummaryMarkers, 2> kSummaryFiles = {{
    {"Zorvan2.sum", {"<@T@>", "<@N@>", "<@K@>", "<@Eloszlasok1@>", "<@EloszlasokV@>"}},
    {"Zorvan.sum", {"<@T@>", "<@N@>", "<@K@>"}},
}};

// The folder of each language: data/ for Hungarian, then every subfolder of data/.
std::vector<fs::path> language_folders() {
  std::vector<fs::path> folders = {kDataDir};
  for (const auto& entry : fs::directory_iterator(kDataDir))
    if (entry.is_directory()) folders.push_back(entry.path());
  std::sort(folders.begin() + 1, folders.end());
  return folders;
}

// The help and summary files of every language.
std::vector<fs::path> data_files() {
  std::vector<fs::path> files;
  for (const fs::path& folder : language_folders())
    for (const char* name : kDataFileNames) files.push_back(folder / name);
  return files;
}

std::string shown(const fs::path& path) { return fs::relative(path, kDataDir).string(); }

// Splits at CR LF, LF or CR, the line ends the programs' text files accept. A final line end
// does not start another line.
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool is_control_byte(unsigned char byte) {
  return (byte < 0x20 || byte == 0x7F) && byte != '\r' && byte != '\n';
}

// Every "<@...@>" token of a text, as written.
std::vector<std::string> marker_tokens(std::string_view text) {
  std::vector<std::string> tokens;
  for (std::size_t at = text.find("<@"); at != std::string_view::npos;
       at = text.find("<@", at + 2)) {
    const std::size_t end = text.find("@>", at + 2);
    tokens.emplace_back(text.substr(at, end == std::string_view::npos ? 2 : end + 2 - at));
  }
  return tokens;
}

// The command-line options a text names ("--zoom", "--no-help").
std::set<std::string> options_named(const std::string& text) {
  std::set<std::string> options;
  const std::regex option("--[a-z][a-z-]*");
  for (std::sregex_iterator at(text.begin(), text.end(), option), end; at != end; ++at)
    options.insert(at->str());
  return options;
}

// Every folder of data/ is a language: its catalogue and the three files, so that none is half
// there; and each is offered.
TEST(DataFiles, EveryLanguageFolderHoldsItsCatalogueAndTheThreeFiles) {
  ASSERT_TRUE(fs::is_directory(kDataDir)) << kDataDir;
  const std::vector<fs::path> folders = language_folders();
  ASSERT_GE(folders.size(), 2u);  // Hungarian and English at least
  for (const fs::path& path : data_files()) EXPECT_TRUE(fs::is_regular_file(path)) << shown(path);
  const std::vector<std::string> offered = available_languages(kDataDir);
  for (std::size_t i = 1; i < folders.size(); ++i) {
    const std::string language = folders[i].filename().string();
    EXPECT_TRUE(fs::is_regular_file(folders[i] / kCatalogueName)) << language;
    EXPECT_TRUE(fs::is_regular_file(folders[i] / kPageCatalogueName)) << language;
    EXPECT_NE(std::find(offered.begin(), offered.end(), language), offered.end()) << language;
  }
}

TEST(DataFiles, EveryCatalogueTranslatesEveryMessageSoundly) {
  const std::vector<fs::path> folders = language_folders();
  for (std::size_t i = 1; i < folders.size(); ++i) {
    SCOPED_TRACE(shown(folders[i] / kCatalogueName));
    const PoFile catalogue = parse_po(file_bytes(folders[i] / kCatalogueName));
    EXPECT_EQ(catalogue.error_line, 0);
    for (const std::string& problem : catalogue_problems(catalogue)) ADD_FAILURE() << problem;
    for (const PoEntry& entry : catalogue.entries) {
      // The options are the command line's words in every language: a text names those its
      // original names.
      EXPECT_EQ(options_named(entry.translation), options_named(entry.original)) << entry.context;
      // The keys stay V, L, N and C in every language, and the legend names them.
      if (entry.context != "run.legend") continue;
      for (const char* keys : {"V/v", "L/l", "N/n", "C/c"})
        EXPECT_NE(entry.translation.find(keys), std::string::npos) << keys;
    }
  }
}

// The page's catalogues translate every text of web/page.pot by the same rules, and no other.
TEST(DataFiles, EveryPageCatalogueTranslatesEveryPageText) {
  const PoFile originals = parse_po(file_bytes(kPageTexts));
  ASSERT_EQ(originals.error_line, 0);
  ASSERT_GT(originals.entries.size(), 10u);
  const std::vector<fs::path> folders = language_folders();
  for (std::size_t i = 1; i < folders.size(); ++i) {
    SCOPED_TRACE(shown(folders[i] / kPageCatalogueName));
    const PoFile catalogue = parse_po(file_bytes(folders[i] / kPageCatalogueName));
    EXPECT_EQ(catalogue.error_line, 0);
    for (const PoEntry& original : originals.entries) {
      const auto same_id = [&](const PoEntry& e) { return e.context == original.context; };
      const auto entry = std::find_if(catalogue.entries.begin(), catalogue.entries.end(), same_id);
      if (entry == catalogue.entries.end()) {
        ADD_FAILURE() << original.context << ": missing";
      } else {
        const std::string problem = translation_problem(*entry, original.original, 0);
        EXPECT_EQ(problem, "") << "line " << entry->line << ": " << entry->context;
      }
    }
    for (const PoEntry& entry : catalogue.entries) {
      const bool known = std::any_of(originals.entries.begin(), originals.entries.end(),
                                     [&](const PoEntry& o) { return o.context == entry.context; });
      EXPECT_TRUE(known) << "line " << entry.line << ": " << entry.context << ": no such text";
    }
  }
}

// The page and its scripts name only texts of web/page.pot (a missing one would show its id),
// and every text there is shown by them.
TEST(DataFiles, ThePageShowsEveryPageTextAndNoOther) {
  std::set<std::string> known;
  for (const PoEntry& entry : parse_po(file_bytes(kPageTexts)).entries) known.insert(entry.context);
  std::set<std::string> named;
  const std::regex id(R"re(["'](page\.[a-z0-9_]+)["'])re");
  const fs::path web = fs::path(ZORVAN_SOURCE_DIR) / "web";
  for (const fs::directory_entry& file : fs::directory_iterator(web)) {
    const std::string extension = file.path().extension().string();
    if (extension != ".js" && extension != ".html") continue;
    const std::string text = file_bytes(file.path());
    for (std::sregex_iterator at(text.begin(), text.end(), id), end; at != end; ++at) {
      const std::string name = (*at)[1];
      if (name == "page.js" || name == "page.css") continue;  // the page's files
      named.insert(name);
      EXPECT_TRUE(known.contains(name)) << file.path().filename().string() << ": " << name;
    }
  }
  for (const std::string& name : known) EXPECT_TRUE(named.contains(name)) << name << ": unused";
}

// An installed page is named by its web app manifest: in the page's own default language,
// Hungarian, with the page's heading as its name.
TEST(DataFiles, TheManifestNamesThePageInThePagesDefaultLanguage) {
  const std::string manifest =
      file_bytes(fs::path(ZORVAN_SOURCE_DIR) / "web" / "manifest.webmanifest");
  const auto field = [&](const std::string& name) {
    std::smatch match;
    const std::regex pattern("\"" + name + "\": \"([^\"]*)\"");
    return std::regex_search(manifest, match, pattern) ? match[1].str() : std::string();
  };
  std::string heading;
  for (const PoEntry& entry : parse_po(file_bytes(kPageTexts)).entries)
    if (entry.context == "page.heading") heading = entry.original;
  EXPECT_EQ(field("name"), heading);
  EXPECT_EQ(field("lang"), kOriginalLanguage);
}

TEST(DataFiles, EveryFileIsCodePage852TextWithoutControlBytesAndWithCrLfLineEnds) {
  for (const fs::path& path : data_files()) {
    SCOPED_TRACE(shown(path));
    const std::string bytes = file_bytes(path);
    ASSERT_FALSE(bytes.empty());
    const auto bad = std::find_if(bytes.begin(), bytes.end(), [](char c) {
      return is_control_byte(static_cast<unsigned char>(c));
    });
    EXPECT_TRUE(bad == bytes.end()) << "control byte " << int(static_cast<unsigned char>(*bad))
                                    << " at offset " << (bad - bytes.begin());
    EXPECT_EQ(cp852(cp852_to_utf8(bytes)), bytes);
    // Every line ends in CR LF, the last one included.
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    const auto crs = std::count(bytes.begin(), bytes.end(), '\r');
    const auto lfs = std::count(bytes.begin(), bytes.end(), '\n');
    std::size_t pairs = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2))
      ++pairs;
    EXPECT_EQ(std::size_t(crs), pairs) << "a CR that does not start a CR LF";
    EXPECT_EQ(std::size_t(lfs), pairs) << "an LF without its CR";
  }
}

TEST(DataFiles, EveryLineFitsTheTextFrame) {
  for (const fs::path& path : data_files()) {
    SCOPED_TRACE(shown(path));
    const std::string bytes = file_bytes(path);
    const auto lines = split_lines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_LE(lines[i].size(), kMaxLineLength)
          << "line " << i + 1 << ": " << cp852_to_utf8(lines[i]);
  }
}

TEST(DataFiles, HelpFileFillsSeveralPages) {
  for (const fs::path& folder : language_folders()) {
    const std::string bytes = file_bytes(folder / "Zorvan.hlp");
    EXPECT_GE(split_lines(bytes).size(), kHelpMinPages * kHelpPageLines) << shown(folder);
  }
}

TEST(DataFiles, SummaryFilesHoldExactlyTheMarkersTheirProgramReplaces) {
  for (const fs::path& folder : language_folders()) {
    for (const SummaryMarkers& summary : kSummaryFiles) {
      SCOPED_TRACE(shown(folder / summary.file));
      const std::string bytes = file_bytes(folder / summary.file);
      for (const std::string& marker : summary.markers)
        EXPECT_NE(bytes.find(marker), std::string::npos) << "missing " << marker;
      for (const std::string& token : marker_tokens(bytes)) {
        const bool known = std::find(summary.markers.begin(), summary.markers.end(), token) !=
                           summary.markers.end();
        EXPECT_TRUE(known) << "not a marker of this program: " << token;
      }
    }
  }
}

// True when the text holds a small letter (of the Latin alphabet, or one of the accented ones
// of the programs' languages).
bool has_lower_case(std::string_view utf8) {
  if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
    return true;
  for (const char* small : {"á", "ä", "é", "í", "ó", "ö", "ő", "ß", "ú", "ü", "ű"}) {
    if (utf8.find(small) != std::string_view::npos) return true;
  }
  return false;
}

// The help's sections, each a line "N. HEADING", begin pages and follow one another from 1 on; a
// section may run onto further pages. Gives the number of sections.
std::size_t expect_sections_begin_pages(const fs::path& help_file) {
  const std::string bytes = file_bytes(help_file);  // the lines are views into it
  const auto help = split_lines(bytes);
  std::size_t sections = 0;
  for (std::size_t i = 0; i < help.size(); ++i) {
    const std::string utf8 = cp852_to_utf8(help[i]);
    const bool heading = utf8.size() > 2 && std::isdigit(static_cast<unsigned char>(utf8[0])) &&
                         utf8[1] == '.' && utf8[2] == ' ' && !has_lower_case(utf8);
    if (heading) {
      ++sections;
      EXPECT_EQ(i % kHelpPageLines, 0u) << "line " << i + 1 << ": " << utf8;
      EXPECT_EQ(utf8.substr(0, 2), std::to_string(sections) + ".") << "line " << i + 1;
    } else {
      EXPECT_NE(i, 0u) << "the help does not begin with its first section";
    }
  }
  return sections;
}

// The first two pages of a summary begin with a heading in capitals; the second version's
// distances follow their word directly.
void expect_summary_pages(const fs::path& folder, const SummaryMarkers& summary) {
  SCOPED_TRACE(summary.file);
  const std::string bytes = file_bytes(folder / summary.file);
  const auto lines = split_lines(bytes);
  ASSERT_GT(lines.size(), kSummaryPageLines);
  for (const std::size_t first : {std::size_t{0}, kSummaryPageLines}) {
    const std::string utf8 = cp852_to_utf8(lines[first]);
    EXPECT_TRUE(!utf8.empty() && !has_lower_case(utf8)) << "page at line " << first + 1 << ": "
                                                        << utf8;
  }
  if (std::string_view(summary.file) != "Zorvan2.sum") return;  // the first version has none
  for (const char* padded : {"<@Eloszlasok1@>", "<@EloszlasokV@>"}) {
    const std::size_t at = bytes.find(padded);
    ASSERT_NE(at, std::string::npos) << padded;
    EXPECT_NE(bytes[at - 1], ' ') << padded;
  }
}

// The pages read as pages, in every language. The distances are written padded to five
// characters, so a blank before their markers would show as two.
TEST(DataFiles, SectionsBeginPagesAndPaddedFiguresFollowTheirWordDirectly) {
  std::size_t hungarian_sections = 0;
  for (const fs::path& folder : language_folders()) {
    SCOPED_TRACE(shown(folder));
    const std::size_t sections = expect_sections_begin_pages(folder / "Zorvan.hlp");
    if (folder == kDataDir) hungarian_sections = sections;
    EXPECT_EQ(sections, hungarian_sections) << "sections of the help";
    for (const SummaryMarkers& summary : kSummaryFiles) expect_summary_pages(folder, summary);
  }
}

}  // namespace
