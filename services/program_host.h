// The program entry's host: the terminal, the graphics window and the logic thread.
//
// SDL wants its window and events on the process's main thread, so the main thread services the
// window while the program logic runs on a second thread. Every way the program ends restores the
// terminal: a normal end (the last text screen is printed again so it stays readable), a run-time
// error ("Runtime error N: ..." on stderr, exit code N), no display (a clear message, exit code
// 1), and Ctrl-C, SIGINT, SIGTERM or SIGHUP (exit at once, 130 for an interrupt).
#pragma once

#include <functional>
#include <string>

// Runs `logic` hosted as above and returns the process's exit code.
int host_program(const std::function<void()>& logic);

// The exit code when the graphics surface cannot be used (no display) or the terminal cannot be.
constexpr int kGraphicsExitCode = 1;

struct LogicOutcome {
  int exit_code = 0;
  std::string message;  // for stderr; empty after a normal end
};

// Runs `logic` and turns the ways it can fail into an exit code and a message. The host and
// the in-process program tests share it.
LogicOutcome run_logic_guarded(const std::function<void()>& logic);
