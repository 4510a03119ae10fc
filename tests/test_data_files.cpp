// The data files shipped beside the programs: the help text and the summary texts.
//
// Every file under data/ is read as raw bytes and must be code page 852 text: printable
// characters and line ends only (a stray control byte would be written to the console as it
// stands, and Ctrl-Z would end the file early). Lines must fit the 76-column inner window of the
// text frame with room to spare, so at most 75 characters (one byte is one character). The help
// file must give several pages of the 18-line viewer. A summary file must hold exactly the
// markers its program replaces: a misspelt marker, or a marker that only the second version
// knows, would be shown to the user as it stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "services/cp852.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxLineLength = 75;
constexpr std::size_t kHelpPageLines = 18;
constexpr std::size_t kHelpMinPages = 3;

const fs::path kDataDir = fs::path(ZORVAN_SOURCE_DIR) / "data";

struct SummaryMarkers {
  const char* file;
  std::vector<std::string> markers;
};

const std::array<SummaryMarkers, 2> kSummaryFiles = {{
    {"Zorvan2.sum", {"<@T@>", "<@N@>", "<@K@>", "<@Eloszlasok1@>", "<@EloszlasokV@>"}},
    {"Zorvan.sum", {"<@T@>", "<@N@>", "<@K@>"}},
}};

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> data_files() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kDataDir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

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

TEST(DataFiles, DataFolderHoldsTheHelpFile) {
  ASSERT_TRUE(fs::is_directory(kDataDir)) << kDataDir;
  EXPECT_TRUE(fs::is_regular_file(kDataDir / "Zorvan.hlp"));
}

TEST(DataFiles, EveryFileIsCodePage852TextWithoutControlBytes) {
  for (const fs::path& path : data_files()) {
    SCOPED_TRACE(path.filename().string());
    const std::string bytes = read_bytes(path);
    ASSERT_FALSE(bytes.empty());
    const auto bad = std::find_if(bytes.begin(), bytes.end(), [](char c) {
      return is_control_byte(static_cast<unsigned char>(c));
    });
    EXPECT_TRUE(bad == bytes.end()) << "control byte " << int(static_cast<unsigned char>(*bad))
                                    << " at offset " << (bad - bytes.begin());
    EXPECT_EQ(cp852(cp852_to_utf8(bytes)), bytes);
  }
}

TEST(DataFiles, EveryLineFitsTheTextFrame) {
  for (const fs::path& path : data_files()) {
    SCOPED_TRACE(path.filename().string());
    const std::string bytes = read_bytes(path);
    const auto lines = split_lines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_LE(lines[i].size(), kMaxLineLength)
          << "line " << i + 1 << ": " << cp852_to_utf8(lines[i]);
  }
}

TEST(DataFiles, HelpFileFillsSeveralPagesWithCrLfLineEnds) {
  const std::string bytes = read_bytes(kDataDir / "Zorvan.hlp");
  EXPECT_GE(split_lines(bytes).size(), kHelpMinPages * kHelpPageLines);
  // Every line ends in CR LF, the last one included.
  ASSERT_FALSE(bytes.empty());
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

TEST(DataFiles, SummaryFilesHoldExactlyTheMarkersTheirProgramReplaces) {
  int found = 0;
  for (const SummaryMarkers& summary : kSummaryFiles) {
    const fs::path path = kDataDir / summary.file;
    if (!fs::exists(path)) continue;
    ++found;
    SCOPED_TRACE(summary.file);
    const std::string bytes = read_bytes(path);
    for (const std::string& marker : summary.markers)
      EXPECT_NE(bytes.find(marker), std::string::npos) << "missing " << marker;
    for (const std::string& token : marker_tokens(bytes)) {
      const bool known =
          std::find(summary.markers.begin(), summary.markers.end(), token) != summary.markers.end();
      EXPECT_TRUE(known) << "not a marker of this program: " << token;
    }
  }
  if (found == 0) GTEST_SKIP() << "no summary file yet";
}

}  // namespace
