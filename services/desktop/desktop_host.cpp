// The program host: signals, the console (the terminal, or the program's own window), the window
// presenter and the logic thread.
//
// Where the text screens go: started from a terminal, to the terminal (curses), and the window
// shows only the run; started without one (no terminal on standard input or output, and no keys
// piped in: from the desktop's menu or a file manager), or with --window, to the program's own
// window, which then shows the console, the run and the console again (window_presenter.h), and
// takes every key.
//
// The host record (host.h) is filled in once: the terminal (or the window's console) as the
// console backend, the window as the presenter, the terminal's resize redraw as the idle hook
// (none for the window), the interrupt that restores the terminal and exits with 130, the steady
// clock; no key wait of its own (the key queue blocks) and no turn hook. It is installed before
// the terminal's reader thread and the logic thread start and before the window loop runs on
// this thread, and cleared after all three have ended.
#include "services/program/program_host.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>
#include <SDL.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "services/console/console.h"
#include "services/text/cp852.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"
#include "services/program/run_time_error.h"
#include "services/desktop/terminal_console.h"
#include "services/text/notices.h"
#include "services/program/program_options.h"
#include "services/program/program_start.h"
#include "services/desktop/window_presenter.h"

namespace {

constexpr int kInterruptExitCode = 130;

// Restores the terminal and leaves at once; the window goes with the process.
[[noreturn]] void end_on_signal(int signal_number) {
  restore_terminal_now();
  _exit(signal_number == SIGINT ? kInterruptExitCode : 128 + signal_number);
}

void on_interrupt_key() { end_on_signal(SIGINT); }

// Closing the program's window at a text screen ends the program as closing its terminal would.
void on_window_closed_at_text() { end_on_signal(SIGHUP); }

// True when the program has no terminal for its text screens: neither standard input nor
// standard output is one, and standard input brings no keys (a pipe or a file would: a script
// feeding the program keeps the terminal console's plain output, as before).
bool started_without_terminal() {
  if (isatty(STDIN_FILENO) != 0 || isatty(STDOUT_FILENO) != 0) return false;
  struct stat input {};
  if (fstat(STDIN_FILENO, &input) != 0) return true;
  return !S_ISFIFO(input.st_mode) && !S_ISREG(input.st_mode);
}

void install_signal_handlers() {
  struct sigaction action {};
  action.sa_handler = end_on_signal;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP})
    sigaction(signal_number, &action, nullptr);
}

// The terminal's stderr while StderrHold holds the descriptor elsewhere; -1 otherwise.
std::atomic<int> terminal_stderr{-1};

// While curses owns the terminal, whatever libraries write to stderr would land in the middle of
// the screen. It is held in a temporary file instead and written out once the terminal is back.
class StderrHold {
 public:
  void begin() {
    if (isatty(STDERR_FILENO) == 0) return;
    std::fflush(stderr);
    held_ = std::tmpfile();
    if (held_ == nullptr) return;
    saved_ = dup(STDERR_FILENO);
    terminal_stderr.store(saved_);
    dup2(fileno(held_), STDERR_FILENO);
  }

  void end() {
    if (held_ == nullptr) return;
    std::fflush(stderr);
    terminal_stderr.store(-1);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    std::rewind(held_);
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, held_)) > 0)
      std::fwrite(buffer, 1, count, stderr);
    std::fclose(held_);
    held_ = nullptr;
  }

 private:
  std::FILE* held_ = nullptr;
  int saved_ = -1;
};

// Starts the window's video with stderr closed, so that what the windowing libraries print on
// their way (warnings about the session, a display that cannot be reached) never reaches the
// person: the host says in one sentence what matters.
bool start_video_quietly(WindowPresenter& window) {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null_device = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null_device >= 0) dup2(null_device, STDERR_FILENO);
  const bool ready = window.init();
  if (saved >= 0 && null_device >= 0) {
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
  }
  if (saved >= 0) close(saved);
  if (null_device >= 0) close(null_device);
  return ready;
}

void say(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

// The record the program runs with: see the file's opening comment. `terminal` is null when the
// window shows the console.
Host desktop_host(ConsoleBackend& console, TerminalConsole* terminal, WindowPresenter& window) {
  Host record;
  record.console = &console;
  record.presenter = &window;
  if (terminal != nullptr) record.idle_hook = [terminal] { terminal->redraw_if_resized(); };
  record.interrupt = on_interrupt_key;
  record.clock = steady_clock_now;
  return record;
}

// Runs the logic on its own thread while this thread services the window, until both are done.
LogicOutcome run_logic_beside_window(WindowPresenter& window, const std::function<void()>& logic,
                                     bool tell_in_window) {
  std::atomic<bool> logic_done{false};
  LogicOutcome outcome;
  std::thread logic_thread([&] {
    outcome = run_logic_guarded(logic);
    // Without a terminal, what ended the program is told on its last screen too.
    if (tell_in_window && !outcome.message.empty()) {
      if (where_x() != 1) write_line();
      set_bright_text();
      write_text(cp852(outcome.message));
      write_line();
      reset_text_attributes();
    }
    logic_done = true;
  });
  window.run(logic_done);
  logic_thread.join();
  return outcome;
}

// The text screens in the terminal (curses), the run in the window.
int run_with_terminal(WindowPresenter& window, const std::function<void()>& logic) {
  StderrHold stderr_hold;
  stderr_hold.begin();
  TerminalConsole terminal;
  install_host(desktop_host(terminal, &terminal, window));
  if (!terminal.start()) {  // it has said why on stderr
    clear_host();
    stderr_hold.end();
    return kGraphicsExitCode;
  }
  const LogicOutcome outcome = run_logic_beside_window(window, logic, false);
  terminal.stop();
  clear_host();
  terminal.print_last_screen();
  stderr_hold.end();
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  return outcome.exit_code;
}

// Everything in the program's own window.
int run_in_window(WindowPresenter& window, const std::function<void()>& logic) {
  if (!window.show_console(on_window_closed_at_text)) {
    say(window.failure());
    return kGraphicsExitCode;
  }
  WindowConsole console(window);
  install_host(desktop_host(console, nullptr, window));
  const LogicOutcome outcome = run_logic_beside_window(window, logic, true);
  clear_host();
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  return outcome.exit_code;
}

// The display library calls this when the connection to the display breaks (the window killed,
// the display server gone); it would end the process as soon as this returns. The terminal is
// put back first, then the person is told on the terminal's own stderr.
int on_display_lost(Display*) {
  restore_terminal_now();
  const std::string message = notice::display_lost() + "\n";
  const int held = terminal_stderr.load();
  const ssize_t written = write(held >= 0 ? held : STDERR_FILENO, message.data(), message.size());
  (void)written;
  _exit(kGraphicsExitCode);
}

void watch_display_connection() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(on_display_lost);
}

}  // namespace

int host_program(int argc, const char* const* argv, const std::function<void()>& logic) {
  install_signal_handlers();
  // The data folder is the current directory, where the programs find their data files.
  const StartInputs inputs{argc, argv, std::getenv("ZORVAN_ZOOM"),
                           {std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                            std::getenv("LC_MESSAGES"), std::getenv("LANG")},
                           "."};
  const ProgramStart start = start_program(inputs);
  if (!start.ok) {
    say(start.notice);
    return kUsageExitCode;
  }
  const HostOptions& options = start.options;
  WindowPresenter window(options.zoom, options.largest_zoom);
  if (!start_video_quietly(window)) {
    say(notice::no_display());
    return kGraphicsExitCode;
  }
  watch_display_connection();
  // The tolerance keeps a zoom written as the exact largest one ("1.6" on 1366x768) from being
  // refused for the binary rounding of either side.
  if (!options.largest_zoom && options.zoom > window.largest_zoom_here() + 1e-9) {
    say(notice::zoom_too_large(options.zoom, window.largest_zoom_here()));
    return kUsageExitCode;
  }

  if (options.window || started_without_terminal()) return run_in_window(window, logic);
  return run_with_terminal(window, logic);
}
