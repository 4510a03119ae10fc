// Bad data files in the place of the help file and of both summary files: binary bytes, odd line
// ends, Ctrl-Z first, a single huge line, a huge file, and things that cannot be read as a file
// at all. Whatever sits there is either paged (18 help lines or 19 summary lines a page, each cut
// to 80 characters, inside the frame) or reported with the version's missing-file message, and
// paging reads a line at a time, so memory stays flat however large the file.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "sanitizer_build.h"
#include "sim/help_viewer.h"
#include "sim/summary_report.h"

namespace {

namespace fs = std::filesystem;

// Where a data file is read: the help of the second version, or the summary of either version.
struct DataFileUse {
  const char* name;
  const char* file;
  const VersionDescription* version;
  bool summary;
};

const DataFileUse kUses[] = {
    {"help", "Zorvan.hlp", &kSecondVersion, false},
    {"summary of the second version", "Zorvan2.sum", &kSecondVersion, true},
    {"summary of the first version", "Zorvan.sum", &kFirstVersion, true},
};

const std::string kShade = "▓";

// Characters (not bytes) of UTF-8 text.
std::size_t characters(const std::string& text) {
  std::size_t count = 0;
  for (const char byte : text) count += (static_cast<uint8_t>(byte) & 0xC0) != 0x80;
  return count;
}

// True when rows 1 to 24 of the screen show the frame whole: nothing written over its edges.
bool frame_is_whole(const HeadlessConsole::Screen& screen) {
  std::string full_edge;
  for (int i = 0; i < kConsoleColumns; ++i) full_edge += kShade;
  if (screen[23] != full_edge || screen[0].rfind(kShade + kShade, 0) != 0) return false;
  for (int row = 1; row < 23; ++row) {
    const std::string& text = screen[row];
    if (characters(text) != kConsoleColumns || text.rfind(kShade, 0) != 0 ||
        text.compare(text.size() - kShade.size(), kShade.size(), kShade) != 0) {
      return false;
    }
  }
  return true;
}

// The inner window's part of a frame row (columns 3..78), without trailing blanks.
std::string inner(const std::string& row) {
  if (characters(row) != kConsoleColumns) return row;
  std::string text = row.substr(kShade.size() + 1, row.size() - 2 * kShade.size() - 1);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Binary lines: every byte value but the line ends and Ctrl-Z, NUL and the upper half
// included, `count` lines of 60 bytes joined by CR LF.
std::string binary_lines(int count) {
  std::string bytes;
  int value = 0;
  for (int line = 0; line < count; ++line) {
    for (int i = 0; i < 60; ++i) {
      while (value == 10 || value == 13 || value == 26) value = (value + 1) % 256;
      bytes.push_back(static_cast<char>(value));
      value = (value + 1) % 256;
    }
    bytes += "\r\n";
  }
  return bytes;
}

// What sits where the program looks for its file.
enum class Place : uint8_t { File, Folder, DanglingLink, LinkToItself };

struct BadFile {
  const char* name;
  Place place;
  std::string bytes;                     // the file's bytes, for Place::File
  bool missing;                          // reported with the missing-file message
  int help_pages, summary_pages;         // page screens when paged
  std::vector<std::string> first_lines;  // the first page's first lines, as shown
};

void make(const BadFile& bad, const fs::path& path) {
  switch (bad.place) {
    case Place::File: std::ofstream(path, std::ios::binary) << bad.bytes; break;
    case Place::Folder: fs::create_directory(path); break;
    case Place::DanglingLink: fs::create_symlink("nowhere", path); break;
    case Place::LinkToItself: fs::create_symlink(path.filename(), path); break;
  }
}

const BadFile kBadFiles[] = {
    {"binary bytes", Place::File, binary_lines(40), false, 3, 3, {}},
    {"NUL and upper-half bytes", Place::File, std::string("a\0b\x80\xfe\r\nz", 8), false, 1, 1,
     {cp852_to_utf8(std::string("a\0b\x80\xfe", 5)), "z"}},
    {"CR-only line ends", Place::File, "one\rtwo\r\rthree\r", false, 1, 1,
     {"one", "two", "", "three"}},
    {"Ctrl-Z first", Place::File, "\x1a" "hidden\r\n", false, 0, 0, {}},
    {"a single 1 MB line", Place::File, std::string(1 << 20, 'm') + "\r\nnext", false, 1, 1,
     {std::string(76, 'm'), "mmmm", "next"}},
    {"a folder", Place::Folder, "", true, 0, 0, {}},
    {"a dangling link", Place::DanglingLink, "", true, 0, 0, {}},
    {"a link to itself", Place::LinkToItself, "", true, 0, 0, {}},
};

class BadDataFile : public RunTest {
 protected:
  // Shows the help or the summary of `use` with input ended, so every page prompt turns by
  // itself, and returns the screens of the file's pages (the summary's empty frame left out).
  std::vector<HeadlessConsole::Screen> page(const DataFileUse& use) {
    reset_keyboard();
    if (use.summary) {
      start_run(5, 2, *use.version);
    } else {
      reset_run_state(run, *use.version);
    }
    push_end_of_input();
    const std::size_t before = console_.screens_at_sleep().size() + (use.summary ? 1 : 0);
    if (use.summary) {
      show_summary(run);
    } else {
      show_help(run);
    }
    const auto& all = console_.screens_at_sleep();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())), all.end()};
  }

  // True when some row of the screens shows the start of the missing-file message of `use`.
  static bool says_missing(const DataFileUse& use,
                           const std::vector<HeadlessConsole::Screen>& screens) {
    const std::string& message = message_text(use.summary ? use.version->summary_missing_message
                                                          : use.version->help_missing_message);
    const std::string start = message.substr(0, 24);
    for (const auto& screen : screens) {
      for (const std::string& text : screen) {
        if (text.find(start) != std::string::npos) return true;
      }
    }
    return false;
  }

  void clear_data_file(const DataFileUse& use) {
    std::error_code ignored;
    fs::remove_all(dir_ / use.file, ignored);
  }
};

// The peak resident memory of the process so far, in kilobytes.
long peak_memory_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A console backend that keeps nothing: it counts the page prompts only, so that the test itself
// holds no memory in proportion to the pages.
class PageCounter : public ConsoleBackend {
 public:
  void present(const ConsoleState&) override {}
  void sleep(unsigned) override { ++prompts; }
  uint64_t prompts = 0;
};

}  // namespace

TEST_F(BadDataFile, IsPagedInsideTheFrameOrReportedMissing) {
  for (const DataFileUse& use : kUses) {
    for (const BadFile& bad : kBadFiles) {
      SCOPED_TRACE(std::string(use.name) + ", " + bad.name);
      clear_data_file(use);
      make(bad, dir_ / use.file);
      const auto screens = page(use);
      const int pages = use.summary ? bad.summary_pages : bad.help_pages;
      if (bad.missing) {
        EXPECT_TRUE(says_missing(use, screens));
        EXPECT_EQ(screens.size(), 1u);  // the message's one page prompt
        continue;
      }
      EXPECT_FALSE(says_missing(use, screens));
      ASSERT_EQ(static_cast<int>(screens.size()), pages);
      for (const auto& screen : screens) EXPECT_TRUE(frame_is_whole(screen));
      const int first_row = use.summary ? 3 : 4;  // the help leaves the window's first row free
      for (std::size_t i = 0; i < bad.first_lines.size(); ++i) {
        EXPECT_EQ(inner(screens[0][first_row - 1 + i]), bad.first_lines[i]) << "line " << i + 1;
      }
      if (use.summary) {
        EXPECT_EQ(row(10), std::string(24, ' ') + "Itt a vége fuss el véle!!!!");
      }
    }
  }
}

TEST_F(BadDataFile, AnUnreadableFileCountsAsMissing) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
  for (const DataFileUse& use : kUses) {
    SCOPED_TRACE(use.name);
    write_data_file(use.file, "secret\r\n");
    fs::permissions(dir_ / use.file, fs::perms::none);
    EXPECT_TRUE(says_missing(use, page(use)));
  }
}

// The 10 MB help file is paged to its end: 137971 lines of 76 bytes make 7666 pages. The peak
// is that of the whole process; the test writes its files in small pieces so that it does not
// raise the peak itself before the measurement.
TEST_F(BadDataFile, MemoryStaysFlatPagingATenMegabyteFileAndAOneMegabyteLine) {
  constexpr int kLines = 137971;
  {
    std::ofstream help(dir_ / "Zorvan.hlp", std::ios::binary);
    char line[77];
    for (int i = 0; i < kLines; ++i) {
      std::snprintf(line, sizeof line, "sor %-70d\r\n", i);
      help.write(line, 76);
    }
  }
  {
    std::ofstream summary(dir_ / "Zorvan2.sum", std::ios::binary);
    const std::string piece(4096, 'm');
    summary << "T=<@T@>";
    for (int i = 0; i < 256; ++i) summary << piece;
    summary << "\r\nvege\r\n";
  }
  ASSERT_GE(fs::file_size(dir_ / "Zorvan.hlp"), 10u << 20);

  PageCounter counter;
  const ScopedHost counting([&counter](Host& record) { record.console = &counter; });
  start_run(5, 2);  // first, so that the run's surface is not counted with the files
  push_end_of_input();
  const uint64_t prompts_before = counter.prompts;
  const long before = peak_memory_kb();
  show_help(run);
  const long after_help = peak_memory_kb();
  const uint64_t help_prompts = counter.prompts - prompts_before;
  const std::string last_page_first_row = row(4);

  show_summary(run);
  const long after_summary = peak_memory_kb();

  EXPECT_EQ(help_prompts, (kLines + 17u) / 18u);
  EXPECT_EQ(last_page_first_row.rfind(kShade + " sor " + std::to_string(kLines - 1) + " ", 0), 0u);
  // The summary's empty frame and its one page.
  EXPECT_EQ(counter.prompts - prompts_before - help_prompts, 2u);
  std::printf("[ figures  ] peak memory growth: 10 MB help file %ld kB, 1 MB summary line %ld kB\n",
              after_help - before, after_summary - after_help);
  if (kSanitizerBuild) {
    GTEST_SKIP() << "the sanitizer's allocator does not give the program's figures";
  }
  constexpr long kBoundKb = 4096;
  EXPECT_LT(after_help - before, kBoundKb);
  EXPECT_LT(after_summary - after_help, kBoundKb);
}
