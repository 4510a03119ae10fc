// Text files: line ends, Ctrl-Z, long lines, buffer boundaries, large files, failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "services/program/run_time_error.h"
#include "services/console/text_file.h"

namespace {

// Writes `bytes` to a fresh file in the test's temporary folder and returns its path.
std::string make_file(const std::string& bytes) {
  static int serial = 0;
  const std::string path = ::testing::TempDir() + "zorvan_text_file_" +
                           std::to_string(::getpid()) + "_" + std::to_string(serial++);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Reads the file the way the help reader does: read_text then discard_line until text_eof.
std::vector<std::string> read_lines(const std::string& bytes, std::size_t max_length = 255) {
  TextFile file;
  text_assign(file, make_file(bytes));
  text_reset(file);
  EXPECT_EQ(io_result(), 0);
  std::vector<std::string> lines;
  while (!text_eof(file)) {
    lines.push_back(read_text(file, max_length));
    discard_line(file);
  }
  text_close(file);
  std::remove(file.name.c_str());
  return lines;
}

int error_of(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RunTimeError& error) {
    return error.code();
  }
  return 0;
}

using Lines = std::vector<std::string>;

TEST(TextFile, EveryLineEndEndsALine) {
  EXPECT_EQ(read_lines("a\r\nb\nc\rd\r\n\r\ne"), (Lines{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(read_lines(""), Lines{});
  EXPECT_EQ(read_lines("last line without end"), Lines{"last line without end"});
}

TEST(TextFile, CtrlZEndsTheText) {
  EXPECT_EQ(read_lines("ab\x1a" "cd\r\nef"), Lines{"ab"});
  EXPECT_EQ(read_lines("ab\r\n\x1a\r\n"), Lines{"ab"});
}

TEST(TextFile, LongLineIsCutAtTheMaximumAndDiscardDropsTheRest) {
  const std::string line(100, 'x');
  EXPECT_EQ(read_lines(line + "\r\nnext\r\n", 80), (Lines{std::string(80, 'x'), "next"}));
}

TEST(TextFile, CrLfSplitAcrossTheBufferIsOneLineEnd) {
  const std::string first(255, 'a');  // CR is the buffer's last byte, LF the next buffer's first
  EXPECT_EQ(read_lines(first + "\r\nb\r\n"), (Lines{first, "b"}));
}

TEST(TextFile, LargeFileIsReadLineByLine) {
  std::string bytes;
  int expected = 0;
  while (bytes.size() < (1u << 20)) bytes += "line " + std::to_string(expected++) + "\r\n";
  const Lines lines = read_lines(bytes, 80);
  ASSERT_EQ(static_cast<int>(lines.size()), expected);
  EXPECT_EQ(lines.back(), "line " + std::to_string(expected - 1));
}

TEST(TextFile, MissingFileIsReportedOnceAndStaysClosed) {
  TextFile file;
  text_assign(file, ::testing::TempDir() + "zorvan_no_such_file.hlp");
  text_reset(file);
  EXPECT_EQ(io_result(), kErrorFileNotFound);
  EXPECT_EQ(io_result(), 0);
  EXPECT_EQ(file.mode, TextFileMode::Closed);
  text_assign(file, ::testing::TempDir());
  text_reset(file);
  EXPECT_NE(io_result(), 0);  // a directory is not a text file
}

TEST(TextFile, OperationsOnAClosedFileStopWith103) {
  TextFile file;
  text_assign(file, make_file("abc"));
  EXPECT_EQ(error_of([&] { text_eof(file); }), kErrorFileNotOpen);
  EXPECT_EQ(error_of([&] { read_text(file, 10); }), kErrorFileNotOpen);
  EXPECT_EQ(error_of([&] { discard_line(file); }), kErrorFileNotOpen);
  EXPECT_EQ(error_of([&] { text_close(file); }), kErrorFileNotOpen);
  text_reset(file);
  EXPECT_EQ(read_text(file, 2), "ab");
  text_reset(file);  // opening again starts from the beginning
  EXPECT_EQ(read_text(file, 10), "abc");
  text_close(file);
  EXPECT_EQ(error_of([&] { text_close(file); }), kErrorFileNotOpen);
  std::remove(file.name.c_str());
}

}  // namespace
