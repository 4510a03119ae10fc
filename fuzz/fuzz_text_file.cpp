// Fuzz target: the text-file reader on arbitrary files and line lengths.
//
// Input: one byte n, then 1 + n % 4 bytes of line limits (255 stands for no limit), then the
// file's bytes. The file is written to one temporary path per process (removed after each run)
// and read the way the help and summary readers do: read_text with the next limit, then
// discard_line, until text_eof; then read again after a text_reset of the open file.
//
// Checked: the lines are those of a plain model of the format (lines end at CR LF, LF or CR, the
// text ends at the first Ctrl-Z, each line cut to its limit), so no line exceeds its limit and
// no more bytes are read than the file holds; every pass ends; both passes agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

#include "fuzz/fuzz_check.h"
#include "services/console/text_file.h"

namespace {

constexpr uint8_t kCtrlZ = 26;

const std::string& file_path() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                    ("zorvan_fuzz_text_file." + std::to_string(::getpid())))
                                       .string();
  return path;
}

void write_file(std::string_view bytes) {
  std::FILE* out = std::fopen(file_path().c_str(), "wb");
  FUZZ_CHECK(out != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
  FUZZ_CHECK(std::fclose(out) == 0);
}

// The lines of `bytes` as the format defines them, each cut to its limit.
std::vector<std::string> model_lines(std::string_view bytes,
                                     const std::vector<std::size_t>& limits) {
  bytes = bytes.substr(0, bytes.find(static_cast<char>(kCtrlZ)));
  std::vector<std::string> lines;
  std::size_t position = 0;
  while (position < bytes.size()) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", position), bytes.size());
    const std::size_t limit = limits[lines.size() % limits.size()];
    lines.emplace_back(bytes.substr(position, std::min(end - position, limit)));
    position = end;
    if (bytes.substr(position, 2) == "\r\n") {
      position += 2;
    } else if (position < bytes.size()) {
      ++position;
    }
  }
  return lines;
}

std::vector<std::string> read_lines(TextFile& file, const std::vector<std::size_t>& limits,
                                    std::size_t file_size) {
  std::vector<std::string> lines;
  std::size_t total = 0;
  while (!text_eof(file)) {
    // Every line takes at least its line end or one byte, so the loop ends; the bound catches
    // a pass that does not.
    FUZZ_CHECK(lines.size() <= file_size);
    const std::size_t limit = limits[lines.size() % limits.size()];
    std::string line = read_text(file, limit);
    FUZZ_CHECK(line.size() <= limit);
    total += line.size();
    FUZZ_CHECK(total <= file_size);
    lines.push_back(std::move(line));
    discard_line(file);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzBytes input(data, size);
  std::vector<std::size_t> limits(1 + input.byte() % 4);
  for (std::size_t& limit : limits) {
    const uint8_t b = input.byte();
    limit = b == 255 ? SIZE_MAX : b;
  }
  const std::string_view contents = input.rest();
  write_file(contents);

  TextFile file;
  text_assign(file, file_path());
  text_reset(file);
  FUZZ_CHECK(io_result() == 0);
  const std::vector<std::string> lines = read_lines(file, limits, contents.size());
  FUZZ_CHECK(lines == model_lines(contents, limits));
  text_reset(file);
  FUZZ_CHECK(io_result() == 0);
  FUZZ_CHECK(read_lines(file, limits, contents.size()) == lines);
  text_close(file);
  // libFuzzer may end the process without running exit handlers: leave nothing behind.
  std::remove(file_path().c_str());
  return 0;
}
