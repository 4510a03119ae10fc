// The console on a real terminal: the 80x25 model drawn with ncursesw, keys read from stdin.
//
// Output: when standard output is a terminal, curses shows the model at the top left of the
// terminal, code page 852 as UTF-8, attribute 7 light grey and 15 bright white, on black. Only the
// cells that changed since the last present() are handed to curses, which sends only what differs
// on the terminal. A terminal smaller than 80x25 shows a notice to enlarge it instead; a resize
// (SIGWINCH) is redrawn on the logic thread, in present() or while read_key waits. When standard
// output is not a terminal nothing is written while the program runs, and stop() prints the last
// screen as UTF-8 text instead.
//
// Input: a reader thread owns standard input (curses never reads it). It waits in poll() and
// read(), decodes the bytes with KeyDecoder and pushes the keys into the key queue; when standard
// input ends (a pipe or a file), it pushes the end of input. A terminal on standard input is put
// into raw mode, so Ctrl-C arrives as byte 3: it is not a key but calls the host's interrupt.
//
// Threads: start(), present(), sleep() and stop() belong to the logic thread (stop() may also run
// on the program's main thread once the logic thread no longer uses the console), and so does
// redraw_if_resized, the host's idle hook. The host's interrupt runs on the reader thread.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "services/console/console.h"

class TerminalConsole final : public ConsoleBackend {
 public:
  TerminalConsole() = default;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;
  ~TerminalConsole() override;  // stops, as stop()

  // Takes over the terminal, installs the SIGWINCH handler and starts the reader thread; the
  // program's host installs this as its console backend. On false a message has been written
  // to stderr and nothing is left changed (unknown terminal type, no thread or pipe).
  bool start();
  // Gives the terminal back: ends the reader thread, leaves curses, restores the terminal modes
  // and the SIGWINCH handler. Without curses it prints the last screen (print_last_screen).
  // Safe to call twice, and after a run-time error.
  void stop();
  // After stop(): prints the model's rows as UTF-8 lines to standard output, trailing blanks and
  // trailing blank rows left out, so that the last screen stays readable after curses has left
  // the terminal's alternate screen. Prints nothing when stop() already printed the screen.
  void print_last_screen();

  void present(const ConsoleState& state) override;
  void sleep(unsigned milliseconds) override;
  // Redraws the screen when the terminal changed size since the last present: the host's idle
  // hook, which runs whenever the reader wakes the key wait after a resize.
  void redraw_if_resized();

 private:
  enum class Output : uint8_t { Silent, Curses, Plain };

  bool start_curses();
  void redraw_after_resize();
  void draw_model(const ConsoleState& state);
  void draw_cell(int row, int column, const ConsoleCell& cell);
  short colour_pair(uint8_t attribute);
  void draw_size_notice();
  void read_keys();

  Output output_ = Output::Silent;
  bool terminal_too_small_ = false;
  bool screen_printed_ = false;                // print_last_screen has nothing left to do
  std::array<std::array<ConsoleCell, kConsoleColumns>, kConsoleRows> shown_{};  // on curses' screen
  bool shown_valid_ = false;                   // false: every cell is drawn again
  std::array<short, 64> colour_pairs_{};       // curses pair of (foreground 0-7, background 0-7)
  short next_colour_pair_ = 1;                 // the next pair number to make (0 is curses' own)
  int wake_pipe_[2] = {-1, -1};                // the reader's wake-up pipe: [0] read, [1] write
  std::atomic<bool> stopping_{false};          // the reader thread is to end
  std::thread reader_;
};

// Ctrl-C typed in the terminal calls interrupt_program (host.h) on the reader thread; with no
// interrupt installed the terminal is restored and the process ends with 130.

// Restores the terminal at once (leaves curses, puts back the saved terminal modes), for a fatal
// path or a signal handler. It does not wait for anything and may run more than once.
void restore_terminal_now();
