// The program entry's host: the command line, the terminal, the graphics window and the logic
// thread.
//
// SDL wants its window and events on the process's main thread, so the main thread services the
// window while the program logic runs on a second thread. Before anything is shown the host makes
// sure a window can be opened: with no display, or a zoom the screen cannot hold, a clear message
// ends the program at once. Every way the program ends restores the terminal: a normal end (the
// last text screen is printed again so it stays readable), a run-time error ("Runtime error N:
// ..." on stderr, exit code N), no display (exit code 1), and Ctrl-C, SIGINT, SIGTERM or SIGHUP
// (exit at once, 130 for an interrupt, 128 + the signal's number otherwise).
//
// Exit codes: 0 normal end; 1 no display, no usable terminal, or the window lost; 2 an argument
// or ZORVAN_ZOOM not understood, a zoom too large for the screen, a language without a catalogue
// or a catalogue that cannot be read, an answer (--n, --k) out of range, a --save folder that is
// not there; 3 the run's files could not be saved (the run and its summary went on); the
// run-time error's number; 130, 143, 129 for SIGINT (Ctrl-C), SIGTERM, SIGHUP.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// Runs `logic` hosted as above with the program's command line and returns its exit code.
int host_program(int argc, const char* const* argv, const std::function<void()>& logic);

// The exit code when the graphics surface cannot be used (no display) or the terminal cannot be.
constexpr int kGraphicsExitCode = 1;
// The exit code for a command line (or ZORVAN_ZOOM, or a language) the program does not accept.
constexpr int kUsageExitCode = 2;
// The exit code when the run's picture or figures could not be saved (--save).
constexpr int kSaveFailedExitCode = 3;

// Thrown by the program logic after the summary when the run's files could not be saved, so
// that the program ends with kSaveFailedExitCode and the notice on stderr.
class SaveFailed : public std::runtime_error {
 public:
  explicit SaveFailed(const std::string& notice) : std::runtime_error(notice) {}
};

struct LogicOutcome {
  int exit_code = 0;
  std::string message;  // for stderr; empty after a normal end
};

// Runs `logic` and turns the ways it can fail into an exit code and a message. The host and
// the in-process program tests share it.
LogicOutcome run_logic_guarded(const std::function<void()>& logic);
