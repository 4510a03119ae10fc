// Text files read line by line through a 256-byte buffer.
//
// Lines end with CR LF, LF or CR; a Ctrl-Z byte (26) counts as the end of the file. Only the
// opening (text_reset) reports failure through io_result; every other operation checks itself
// and stops the program with a run-time error carrying the failure's number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class TextFileMode { Closed, Reading };

struct TextFile {
  std::string name;
  TextFileMode mode = TextFileMode::Closed;
  int descriptor = -1;
  uint8_t buffer[256];
  std::size_t position = 0;  // next byte to read in buffer
  std::size_t fill = 0;      // bytes held in buffer
  bool exhausted = false;    // the descriptor has reported its end

  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile();
};

// Binds the file to a name; the file stays closed.
void text_assign(TextFile& file, std::string_view name);
// Opens the named file for reading; a failure leaves a non-zero io_result and stops nothing.
void text_reset(TextFile& file);
// The last I/O error (0: none), which is reset by reading it.
int io_result();
// True when no character is left or the next one is Ctrl-Z.
bool text_eof(TextFile& file);
// The rest of the current line, at most `max_length` bytes; the line end stays unread.
std::string read_text(TextFile& file, std::size_t max_length);
// Discards the rest of the current line and its line end.
void discard_line(TextFile& file);
void text_close(TextFile& file);
