// Text files read through a 256-byte buffer with POSIX open / read / close.
//
// A file is read in buffer-sized pieces as its lines are consumed, so a file of any size is read
// without holding it whole. Ctrl-Z (26) ends the text: it is never consumed, and text_eof is true
// in front of it. Line ends are CR LF, LF or a lone CR.
//
// Error numbers. Opening: ENOENT, ENOTDIR and the other name faults give 2 (file not found),
// EACCES, EPERM and a directory give 5 (access denied), EMFILE / ENFILE give 4 (too many open
// files); opening failures are only recorded for io_result. Reading and closing: EACCES / EPERM
// / EISDIR give 5, EBADF gives 103 (file not open), any other failure (EIO and the like) gives
// 161 (device read fault); these, and any operation on a closed file (103), stop the program
// with a run-time error.
#include "services/console/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "services/program/run_time_error.h"

namespace {

constexpr uint8_t kCtrlZ = 26, kLineFeed = 10, kCarriageReturn = 13;

int last_io_error = 0;

int open_error_code(int error) {
  switch (error) {
    case EACCES: case EPERM: case EISDIR: return kErrorAccessDenied;
    case EMFILE: case ENFILE: return kErrorTooManyFiles;
    default: return kErrorFileNotFound;
  }
}

int read_error_code(int error) {
  switch (error) {
    case EACCES: case EPERM: case EISDIR: return kErrorAccessDenied;
    case EBADF: return kErrorFileNotOpen;
    default: return kErrorDeviceReadFault;
  }
}

void require_open(const TextFile& file) {
  if (file.mode != TextFileMode::Reading) raise_run_time_error(kErrorFileNotOpen);
}

// Refills the buffer when it is used up. Returns false at the end of the file.
bool fill_buffer(TextFile& file) {
  if (file.position < file.fill) return true;
  if (file.exhausted) return false;
  ssize_t count;
  do {
    count = ::read(file.descriptor, file.buffer, sizeof file.buffer);
  } while (count < 0 && errno == EINTR);
  if (count < 0) raise_run_time_error(read_error_code(errno));
  file.position = 0;
  file.fill = static_cast<std::size_t>(count);
  file.exhausted = count == 0;
  return count > 0;
}

// The next byte without taking it, or -1 at the end of the file.
int peek_byte(TextFile& file) {
  return fill_buffer(file) ? file.buffer[file.position] : -1;
}

void release(TextFile& file) {
  file.descriptor = -1;
  file.mode = TextFileMode::Closed;
  file.position = file.fill = 0;
  file.exhausted = false;
}

// Closes the descriptor; returns the errno of a failed close, 0 on success. Linux frees the
// descriptor even when close reports EINTR, so it is never closed twice.
int close_descriptor(TextFile& file) {
  const int result = ::close(file.descriptor);
  const int error = result < 0 && errno != EINTR ? errno : 0;
  release(file);
  return error;
}

}  // namespace

TextFile::~TextFile() {
  if (mode == TextFileMode::Reading) close_descriptor(*this);
}

void text_assign(TextFile& file, std::string_view name) {
  if (file.mode == TextFileMode::Reading) close_descriptor(file);
  file.name = std::string(name);
}

// A file already open is read again from its start. Directories are refused like a locked file.
void text_reset(TextFile& file) {
  if (file.mode == TextFileMode::Reading) close_descriptor(file);
  const int descriptor = ::open(file.name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    last_io_error = open_error_code(errno);
    return;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(descriptor);
    last_io_error = kErrorAccessDenied;
    return;
  }
  file.descriptor = descriptor;
  file.mode = TextFileMode::Reading;
  file.position = file.fill = 0;
  file.exhausted = false;
}

int io_result() {
  const int result = last_io_error;
  last_io_error = 0;
  return result;
}

bool text_eof(TextFile& file) {
  require_open(file);
  const int next = peek_byte(file);
  return next < 0 || next == kCtrlZ;
}

std::string read_text(TextFile& file, std::size_t max_length) {
  require_open(file);
  std::string text;
  while (text.size() < max_length) {
    const int next = peek_byte(file);
    if (next < 0 || next == kCarriageReturn || next == kLineFeed || next == kCtrlZ) break;
    text.push_back(static_cast<char>(next));
    ++file.position;
  }
  return text;
}

// Takes bytes through the next LF, or the next CR and an LF right after it; stops in front of
// a Ctrl-Z and at the end of the file.
void discard_line(TextFile& file) {
  require_open(file);
  for (;;) {
    const int next = peek_byte(file);
    if (next < 0 || next == kCtrlZ) return;
    ++file.position;
    if (next == kLineFeed) return;
    if (next == kCarriageReturn) {
      if (peek_byte(file) == kLineFeed) ++file.position;
      return;
    }
  }
}

void text_close(TextFile& file) {
  require_open(file);
  const int error = close_descriptor(file);
  if (error != 0) raise_run_time_error(read_error_code(error));
}
