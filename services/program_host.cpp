// The program host: signals, terminal console, window presenter and the logic thread.
#include "services/program_host.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <thread>
#include <unistd.h>

#include "services/console.h"
#include "services/graphics.h"
#include "services/presenter.h"
#include "services/run_time_error.h"
#include "services/terminal_console.h"
#include "services/window_presenter.h"

namespace {

constexpr int kInterruptExitCode = 130;
constexpr int kGraphicsExitCode = 1;

// Restores the terminal and leaves at once; the window goes with the process.
[[noreturn]] void end_on_signal(int signal_number) {
  restore_terminal_now();
  _exit(signal_number == SIGINT ? kInterruptExitCode : 128 + signal_number);
}

void on_interrupt_key() { end_on_signal(SIGINT); }

void install_signal_handlers() {
  struct sigaction action {};
  action.sa_handler = end_on_signal;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
  set_interrupt_handler(on_interrupt_key);
}

std::string no_display_message(const WindowPresenter& window) {
  std::string message = "The graphics window cannot be opened: the surface is not in graphics mode.";
  if (!window.failure().empty()) message += "\n" + window.failure();
  return message;
}

}  // namespace

int host_program(const std::function<void()>& logic) {
  install_signal_handlers();
  TerminalConsole terminal;
  terminal.start();
  set_console_backend(&terminal);

  WindowPresenter window;
  const bool has_display = window.init();
  set_presenter(&window);

  std::atomic<bool> logic_done{false};
  LogicOutcome outcome;
  std::thread logic_thread([&] {
    outcome = run_logic_guarded(logic);
    logic_done = true;
  });
  if (has_display) window.run(logic_done);
  logic_thread.join();
  set_presenter(nullptr);

  terminal.stop();
  set_console_backend(nullptr);
  terminal.print_last_screen();
  if (outcome.exit_code == kGraphicsExitCode && !has_display) outcome.message = no_display_message(window);
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  return outcome.exit_code;
}
