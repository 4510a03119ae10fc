// The program host: signals, terminal console, window presenter and the logic thread.
//
// The host record (host.h) is filled in once: the terminal as the console backend, the window as
// the presenter, the terminal's resize redraw as the idle hook, the interrupt that restores the
// terminal and exits with 130, the steady clock; no key wait of its own (the key queue blocks)
// and no turn hook. It is installed before the terminal's reader thread and the logic thread
// start and before the window loop runs on this thread, and cleared after all three have ended.
#include "services/program_host.h"

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
#include <unistd.h>

#include "services/console/console.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/host.h"
#include "services/language.h"
#include "services/run_time_error.h"
#include "services/desktop/terminal_console.h"
#include "services/notices.h"
#include "services/program_options.h"
#include "services/desktop/window_presenter.h"

namespace {

constexpr int kInterruptExitCode = 130;

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

// The record the program runs with: see the file's opening comment.
Host desktop_host(TerminalConsole& terminal, WindowPresenter& window) {
  Host record;
  record.console = &terminal;
  record.presenter = &window;
  record.idle_hook = [&terminal] { terminal.redraw_if_resized(); };
  record.interrupt = on_interrupt_key;
  record.clock = steady_clock_now;
  return record;
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
  const ParsedOptions parsed = parse_host_options(argc, argv, std::getenv("ZORVAN_ZOOM"));
  // The language comes first: every notice from here on speaks it. The data folder is the
  // current directory, where the programs find their data files.
  const LocaleVariables locale{std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                               std::getenv("LC_MESSAGES"), std::getenv("LANG")};
  const LanguageSetUp language = set_up_language(parsed.options.language, locale, ".");
  if (!parsed.ok) {
    say(notice::bad_argument(parsed.rejected, language_list(".")));
    return kUsageExitCode;
  }
  if (!language.ok) {
    say(language.notice);
    return kUsageExitCode;
  }
  WindowPresenter window(parsed.options.zoom);
  if (!start_video_quietly(window)) {
    say(notice::no_display());
    return kGraphicsExitCode;
  }
  watch_display_connection();
  if (parsed.options.zoom > window.largest_zoom_here()) {
    say(notice::zoom_too_large(parsed.options.zoom, window.largest_zoom_here()));
    return kUsageExitCode;
  }

  StderrHold stderr_hold;
  stderr_hold.begin();
  TerminalConsole terminal;
  install_host(desktop_host(terminal, window));
  if (!terminal.start()) {  // it has said why on stderr
    clear_host();
    stderr_hold.end();
    return kGraphicsExitCode;
  }

  std::atomic<bool> logic_done{false};
  LogicOutcome outcome;
  std::thread logic_thread([&] {
    outcome = run_logic_guarded(logic);
    logic_done = true;
  });
  window.run(logic_done);
  logic_thread.join();

  terminal.stop();
  clear_host();
  terminal.print_last_screen();
  stderr_hold.end();
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  return outcome.exit_code;
}
