// The console on a real terminal: curses output, the key reader thread, terminal modes, signals.
//
// The terminal is arranged by what standard input and output are:
//   both terminals      curses on stdout, raw input modes (Ctrl-C arrives as byte 3)
//   stdin not terminal  curses on stdout in cbreak mode (Ctrl-C stays a signal); keys from the pipe
//   stdout not terminal plain output (the last screen at stop); raw input modes when stdin is one
// The model's cell (column c, row r), both 1-based, is drawn at curses' (r - 1, c - 1).
//
// Process-wide pieces live at file scope because signal handlers and the fatal path reach them:
// the saved modes of standard input, whether curses is active, the way out of curses for the
// fatal path, the resize flag and the reader's wake-up pipe. The SIGWINCH handler only sets the
// flag and writes one byte to the pipe; the reader thread then wakes the key wait, and the logic
// thread redraws.
//
// Leaving curses: stop() lets curses end its screen (endwin) on the thread that draws. The fatal
// path (restore_terminal_now) runs on another thread or in a signal handler while the logic
// thread may be inside curses, so it calls no curses function and touches none of curses' state:
// it writes bytes prepared when curses started, with write(2), to a descriptor of the terminal
// of its own, after pointing standard output at /dev/null so that a refresh in progress cannot
// write over the terminal it has given back.
#include "services/desktop/terminal_console.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "services/text/cp852.h"
#include "services/text/notices.h"
#include "services/console/key_decoder.h"
#include "services/console/keyboard.h"
#include "services/program/host.h"

#define NCURSES_WIDECHAR 1
#define NCURSES_NOMACROS 1
#include <curses.h>

namespace {

std::atomic<bool> curses_active{false};      // curses owns the output terminal (endwin pending)
std::atomic<bool> input_modes_saved{false};  // saved_input_modes holds stdin's modes to restore
termios saved_input_modes{};
std::atomic<bool> resize_pending{false};     // the terminal changed size since the last layout
std::atomic<int> wake_fd{-1};                // write end of the reader's wake-up pipe
struct sigaction previous_window_change_action {};
SCREEN* curses_screen = nullptr;

// The fatal path's way out of curses. start_curses fills it before it sets curses_active; only
// the thread that then turns curses_active off reads it.
struct CursesExit {
  std::array<char, 256> bytes{};    // what keypad(FALSE) and endwin would send (prepare_...)
  std::size_t length = 0;           // bytes used
  termios output_modes{};           // standard output's modes from before curses
  bool output_modes_saved = false;  // output_modes holds them
  int terminal = -1;                // a descriptor of curses' terminal of its own, or -1
};
CursesExit curses_exit;

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler needs lock-free atomics");

// The PC colour numbers 0-7 in curses' numbering.
constexpr short kCursesColours[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                     COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

extern "C" void on_window_change(int) {
  const int saved_errno = errno;
  resize_pending.store(true);
  const int fd = wake_fd.load();
  if (fd >= 0) {
    const char byte = 'w';
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved_errno;
}

void wake_reader() {
  const int fd = wake_fd.load();
  if (fd < 0) return;
  const char byte = 's';
  [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
}

void install_window_change_handler() {
  struct sigaction action {};
  action.sa_handler = on_window_change;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &action, &previous_window_change_action);
}

// Keys one at a time, 8-bit clean, no echo, no signals from Ctrl-C, no flow control. The output
// flags stay as they are (curses may have set them).
void set_raw_input_modes() {
  termios modes{};
  if (tcgetattr(STDIN_FILENO, &modes) != 0) return;
  modes.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON);
  modes.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  modes.c_cc[VMIN] = 1;
  modes.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &modes);
}

// curses draws wide characters through the C library's multibyte conversion, so the character
// type must name a real character set. A plain C locale becomes UTF-8; a locale that names one
// (UTF-8, or a Latin-2 terminal's ISO-8859-2) is kept. Only LC_CTYPE changes: number formatting
// must keep its '.' whatever the user's locale.
void select_character_locale() {
  setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") != 0) return;
  if (setlocale(LC_CTYPE, "C.UTF-8") == nullptr) setlocale(LC_CTYPE, "en_US.UTF-8");
}

// The wide character that shows a code page 852 byte; control characters show as blanks.
wchar_t glyph_for(uint8_t byte) {
  const char32_t character = cp852_to_unicode(byte);
  if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return L' ';
  return static_cast<wchar_t>(character);
}

// Sets the terminal's scrolling region to the whole screen (terminfo "csr"), when it has one.
// putp writes through stdio, not through curses' own buffer, hence the flush.
void reset_scrolling_region() {
  const char* region = tigetstr("csr");
  if (region == nullptr || region == reinterpret_cast<char*>(-1)) return;
  putp(tiparm(region, 0, LINES - 1));
  std::fflush(stdout);
}

// Adds a terminfo string to the fatal path's bytes, its delays ("$<5>", which only slow
// terminals need) left out; a string that does not fit is left out whole.
void add_exit_string(const char* value) {
  std::string bytes;
  for (const char* at = value; *at != '\0'; ++at) {
    const char* end = at[0] == '$' && at[1] == '<' ? std::strchr(at, '>') : nullptr;
    if (end != nullptr) {
      at = end;
    } else {
      bytes += *at;
    }
  }
  if (bytes.size() > curses_exit.bytes.size() - curses_exit.length) return;
  std::copy(bytes.begin(), bytes.end(), curses_exit.bytes.begin() + curses_exit.length);
  curses_exit.length += bytes.size();
}

// Adds the terminfo string `name`, when the terminal has it.
void add_exit_capability(const char* name) {
  const char* value = tigetstr(name);
  if (value != nullptr && value != reinterpret_cast<char*>(-1)) add_exit_string(value);
}

// Prepares what restore_terminal_now writes in place of keypad(FALSE) and endwin: the keypad's
// normal mode (when curses set the application mode), attributes and colours off, the cursor
// on the bottom row (row 999: terminals stop it at the last row, whatever the size by then) and
// shown, the normal screen back, a carriage return.
void prepare_curses_exit(bool application_keypad) {
  curses_exit.length = 0;
  if (application_keypad) add_exit_capability("rmkx");
  add_exit_capability("sgr0");
  add_exit_capability("op");
  const char* address = tigetstr("cup");
  if (address != nullptr && address != reinterpret_cast<char*>(-1)) {
    add_exit_string(tiparm(address, 999, 0));
  }
  add_exit_capability("cnorm");
  add_exit_capability("rmcup");
  add_exit_string("\r");
}

// Leaves curses the fatal way (see the top of the file); async-signal-safe. Without a
// descriptor of its own (none was left to duplicate) it writes to standard output itself.
void leave_curses_now() {
  const CursesExit& exit = curses_exit;
  int terminal = STDOUT_FILENO;
  const int null_device = exit.terminal >= 0 ? open("/dev/null", O_WRONLY | O_CLOEXEC) : -1;
  if (null_device >= 0) {
    dup2(null_device, STDOUT_FILENO);
    close(null_device);
    terminal = exit.terminal;
  }
  std::size_t done = 0;
  while (done < exit.length) {
    const ssize_t written = write(terminal, exit.bytes.data() + done, exit.length - done);
    if (written <= 0 && errno != EINTR) break;
    if (written > 0) done += static_cast<std::size_t>(written);
  }
  if (exit.output_modes_saved) tcsetattr(terminal, TCSANOW, &exit.output_modes);
}

void restore_input_modes() {
  if (input_modes_saved.exchange(false)) tcsetattr(STDIN_FILENO, TCSANOW, &saved_input_modes);
}

// Whether the terminal can place the cursor anywhere (terminfo "cup"); a "dumb" one cannot.
bool has_cursor_addressing() {
  const char* address = tigetstr("cup");
  return address != nullptr && address != reinterpret_cast<char*>(-1);
}

bool same_cell(const ConsoleCell& a, const ConsoleCell& b) {
  return a.character == b.character && a.attribute == b.attribute;
}

void deliver(const std::vector<KeyDecodeResult>& keys) {
  for (const KeyDecodeResult& key : keys) {
    if (key.status == KeyDecodeStatus::Key) {
      push_key(key.key);
    } else if (key.status == KeyDecodeStatus::Interrupt && !interrupt_program()) {
      restore_terminal_now();
      std::_Exit(130);
    }
  }
}

void drain_pipe(int fd) {
  char bytes[64];
  while (read(fd, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace


void restore_terminal_now() {
  if (curses_active.exchange(false)) leave_curses_now();
  restore_input_modes();
}

TerminalConsole::~TerminalConsole() { stop(); }

bool TerminalConsole::start() {
  if (output_ != Output::Silent) return true;
  if (pipe2(wake_pipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    std::fprintf(stderr, "%s\n", notice::console_failed(std::strerror(errno)).c_str());
    return false;
  }
  wake_fd.store(wake_pipe_[1]);
  // Before curses starts, so that curses keeps our handler instead of installing its own.
  install_window_change_handler();
  const bool input_is_terminal = isatty(STDIN_FILENO) == 1;
  if (input_is_terminal && tcgetattr(STDIN_FILENO, &saved_input_modes) == 0) {
    input_modes_saved.store(true);
  }
  // Decided first, so that stop() can undo a start that fails half way.
  output_ = isatty(STDOUT_FILENO) == 1 ? Output::Curses : Output::Plain;
  if (output_ == Output::Curses && !start_curses()) {
    stop();
    return false;
  }
  if (output_ == Output::Plain && input_is_terminal) set_raw_input_modes();
  screen_printed_ = false;
  stopping_.store(false);
  try {
    reader_ = std::thread(&TerminalConsole::read_keys, this);
  } catch (const std::system_error& error) {
    stop();
    std::fprintf(stderr, "%s\n", notice::console_failed(error.what()).c_str());
    return false;
  }
  present(console_state());
  return true;
}

// curses on standard output; a terminal on standard input shares its modes (raw), a pipe leaves
// the terminal in cbreak mode so that Ctrl-C typed there still raises SIGINT.
bool TerminalConsole::start_curses() {
  select_character_locale();
  const bool input_is_terminal = isatty(STDIN_FILENO) == 1;
  // The modes that endwin would give back, for the fatal path.
  curses_exit.output_modes_saved = tcgetattr(STDOUT_FILENO, &curses_exit.output_modes) == 0;
  // curses never reads its input file; it is named only because newterm wants one.
  curses_screen = newterm(nullptr, stdout, input_is_terminal ? stdin : stdout);
  if (curses_screen != nullptr && !has_cursor_addressing()) {
    endwin();
    delscreen(curses_screen);
    curses_screen = nullptr;
  }
  if (curses_screen == nullptr) {
    std::fprintf(stderr, "%s\n", notice::unusable_terminal(std::getenv("TERM")).c_str());
    return false;
  }
  set_term(curses_screen);
  prepare_curses_exit(input_is_terminal);
  curses_exit.terminal = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  curses_active.store(true);
  if (input_is_terminal) {
    raw();
  } else {
    cbreak();
  }
  noecho();
  nonl();
  typeahead(-1);  // never look at the input: the reader thread owns it
  leaveok(stdscr, FALSE);
  scrollok(stdscr, FALSE);
  if (has_colors()) start_color();
  if (input_is_terminal) {
    // The application keypad: keypad Enter and keypad / then send sequences of their own
    // (Esc O M, Esc O o), which the decoder turns into their extended keys, instead of a plain
    // Enter and '/'. curses never reads the keys itself; restore_terminal_now takes it back.
    keypad(stdscr, TRUE);
    set_raw_input_modes();
    def_prog_mode();
  }
  resize_pending.store(true);  // the first present() measures and lays out the screen
  return true;
}

void TerminalConsole::stop() {
  if (output_ == Output::Silent) return;
  const bool on_reader_thread =
      reader_.joinable() && reader_.get_id() == std::this_thread::get_id();
  stopping_.store(true);
  wake_reader();
  if (reader_.joinable()) {
    // From the interrupt handler (on the reader thread) the reader cannot be joined; it ends
    // with the process.
    if (on_reader_thread) {
      reader_.detach();
    } else {
      reader_.join();
    }
  }
  wake_fd.store(-1);
  sigaction(SIGWINCH, &previous_window_change_action, nullptr);
  const Output output = output_;
  output_ = Output::Silent;
  if (curses_active.exchange(false)) {
    keypad(stdscr, FALSE);  // the terminal's keypad back in its normal mode
    endwin();
    close(curses_exit.terminal);
    curses_exit.terminal = -1;
  }
  restore_input_modes();
  if (curses_screen != nullptr && !on_reader_thread) {
    delscreen(curses_screen);
    curses_screen = nullptr;
  }
  if (!on_reader_thread) {
    for (int& fd : wake_pipe_) {
      if (fd >= 0) close(fd);
      fd = -1;
    }
  }
  screen_printed_ = false;
  if (output == Output::Plain) print_last_screen();
}

void TerminalConsole::print_last_screen() {
  if (output_ == Output::Curses || screen_printed_) return;
  screen_printed_ = true;
  int last_row = kConsoleRows;
  while (last_row > 0 && console_row_text(last_row).empty()) --last_row;
  std::string text;
  for (int row = 1; row <= last_row; ++row) text += console_row_text(row) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void TerminalConsole::present(const ConsoleState& state) {
  if (output_ != Output::Curses || !curses_active.load()) return;
  if (resize_pending.exchange(false)) redraw_after_resize();
  if (terminal_too_small_) return;
  draw_model(state);
  wrefresh(stdscr);
}

void TerminalConsole::sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TerminalConsole::redraw_if_resized() {
  if (resize_pending.load()) present(console_state());
}

// Takes the terminal's size anew and starts a clean screen: the model in full, or the notice.
void TerminalConsole::redraw_after_resize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resizeterm(size.ws_row, size.ws_col);
    // curses set the terminal's scrolling region for the old size and does not renew it.
    reset_scrolling_region();
  }
  terminal_too_small_ = LINES < kConsoleRows || COLS < kConsoleColumns;
  werase(stdscr);
  clearok(curscr, TRUE);  // the terminal may have reflowed its text: repaint every cell
  shown_valid_ = false;
  curs_set(terminal_too_small_ ? 0 : 1);
  if (terminal_too_small_) {
    draw_size_notice();
    wrefresh(stdscr);
  }
}

// Hands curses the cells that differ from what it was last given, then places the cursor.
void TerminalConsole::draw_model(const ConsoleState& state) {
  for (int row = 0; row < kConsoleRows; ++row) {
    for (int column = 0; column < kConsoleColumns; ++column) {
      const ConsoleCell& cell = state.cells[row][column];
      if (shown_valid_ && same_cell(cell, shown_[row][column])) continue;
      draw_cell(row, column, cell);
      shown_[row][column] = cell;
    }
  }
  shown_valid_ = true;
  const int cursor_row = std::clamp(state.cursor_row, 1, kConsoleRows) - 1;
  const int cursor_column = std::clamp(state.cursor_column, 1, kConsoleColumns) - 1;
  wmove(stdscr, cursor_row, cursor_column);
}

// Attribute bits 0-2 and 4-6 choose a colour pair (made when first needed); bit 3 is bold.
void TerminalConsole::draw_cell(int row, int column, const ConsoleCell& cell) {
  const wchar_t text[2] = {glyph_for(cell.character), L'\0'};
  const attr_t attributes = (cell.attribute & 0x08) != 0 ? A_BOLD : A_NORMAL;
  cchar_t styled;
  setcchar(&styled, text, attributes, colour_pair(cell.attribute), nullptr);
  // The bottom-right cell of an 80x25 terminal reports ERR (no room to advance); it is drawn.
  mvwadd_wch(stdscr, row, column, &styled);
}

short TerminalConsole::colour_pair(uint8_t attribute) {
  if (!has_colors()) return 0;
  const int index = (attribute & 0x07) | ((attribute >> 1) & 0x38);  // foreground | background
  if (colour_pairs_[index] == 0 && next_colour_pair_ < COLOR_PAIRS) {
    init_pair(next_colour_pair_, kCursesColours[attribute & 0x07],
              kCursesColours[(attribute >> 4) & 0x07]);
    colour_pairs_[index] = next_colour_pair_++;
  }
  return colour_pairs_[index];
}

// The notice for a terminal smaller than the screen, wrapped at word ends to the terminal's width.
// Widths count characters, not the bytes of their UTF-8 form.
void TerminalConsole::draw_size_notice() {
  const std::string notice = notice::enlarge_terminal(COLS, LINES);
  const auto columns_of = [&notice](std::size_t from, std::size_t to) {
    int count = 0;
    for (std::size_t i = from; i < to; ++i)
      count += (static_cast<uint8_t>(notice[i]) & 0xC0) != 0x80;
    return count;
  };
  int row = 0;
  int column = 0;
  std::size_t start = 0;
  while (start < notice.size() && row < LINES) {
    std::size_t end = notice.find(' ', start);
    if (end == std::string::npos) end = notice.size();
    const int length = columns_of(start, end);
    if (column > 0 && column + 1 + length > COLS) {
      ++row;
      column = 0;
    } else if (column > 0) {
      ++column;
    }
    // A word wider than the terminal is cut at its right edge, between two characters.
    if (row < LINES) {
      std::size_t cut = end;
      while (columns_of(start, cut) > COLS - column) {
        do --cut; while (cut > start && (static_cast<uint8_t>(notice[cut]) & 0xC0) == 0x80);
      }
      mvwaddnstr(stdscr, row, column, notice.c_str() + start, static_cast<int>(cut - start));
    }
    column += length;
    start = end + 1;
  }
}

// The reader thread: waits for input or a wake-up, decodes, and times out a partial sequence.
void TerminalConsole::read_keys() {
  KeyDecoder decoder;
  bool input_open = true;
  uint8_t bytes[256];
  while (!stopping_.load()) {
    pollfd watched[2] = {{input_open ? STDIN_FILENO : -1, POLLIN, 0}, {wake_pipe_[0], POLLIN, 0}};
    const int ready = poll(watched, 2, decoder.has_partial() ? kEscapeTimeoutMs : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (ready == 0) {
      deliver(decoder.flush());
      continue;
    }
    if (watched[1].revents != 0) {
      drain_pipe(wake_pipe_[0]);
      if (!stopping_.load()) wake_key_wait();
    }
    if (watched[0].revents == 0) continue;
    const ssize_t count = read(STDIN_FILENO, bytes, sizeof bytes);
    if (count > 0) {
      deliver(decoder.feed({bytes, static_cast<std::size_t>(count)}));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
      deliver(decoder.flush());
      push_end_of_input();
      input_open = false;
    }
  }
}
