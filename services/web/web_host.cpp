// The web host: its waits, console backend, presenter, clock, interrupt and host_program (see
// web_host.h).
#include "services/web/web_host.h"

#include <emscripten.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "services/console/console.h"
#include "services/console/keyboard.h"
#include "services/graphics/graphics.h"
#include "services/graphics/picture.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"
#include "services/text/notices.h"
#include "services/program/program_host.h"
#include "services/program/program_start.h"
#include "services/program/run_files.h"
#include "services/web/web_picture.h"

// ---------------------------------------------------------------------------------------------
// The page's side of the waits. Each hands Asyncify's wake-up to the page's host object, which
// calls it when the wait is over; the page never calls it after the program has been ended.

// `timeout_ms` < 0: no timeout.
EM_JS(void, page_wait_for_key, (double timeout_ms), {
  Asyncify.handleSleep(function(wakeUp) { Module["host"].waitForKey(timeout_ms, wakeUp); });
});

EM_JS(void, page_sleep, (int milliseconds), {
  Asyncify.handleSleep(function(wakeUp) { Module["host"].sleep(milliseconds, wakeUp); });
});

EM_JS(void, page_yield, (), {
  Asyncify.handleSleep(function(wakeUp) { Module["host"].yieldTurn(wakeUp); });
});

// The page's free area for the run picture, in CSS pixels, and the zoom chosen in the page.
EM_JS(void, page_free_area, (int* width, int* height, int* zoom), {
  const area = Module["host"].freeArea();
  HEAP32[width >> 2] = area.width;
  HEAP32[height >> 2] = area.height;
  HEAP32[zoom >> 2] = area.zoom;
});

EM_JS(void, page_show_surface, (int width, int height), {
  Module["host"].showSurface(width, height);
});

EM_JS(void, page_hide_surface, (), { Module["host"].hideSurface(); });

// Ctrl-C: the page ends the run. Called from the page's own keydown (web_page_api.cpp), while
// the program waits.
EM_JS(void, page_interrupted, (), { Module["host"].interrupted(); });

EM_JS(void, page_program_ended, (int exit_code, const char* message), {
  Module["host"].programEnded(exit_code, UTF8ToString(message));
});

namespace {

// Where the data files are packed into the module's file system (the build's --embed-file).
constexpr const char* kDataFolder = "/zorvan";

// A slice of turns lasts about one display frame less the time the page needs to repaint.
constexpr double kSliceMs = 12.0;
// The clock (a call out of the module, dearer than a quiet turn) is read about this often within
// a slice: the turns between two readings double from one while they take less, and shrink in
// proportion when they take more (a turn costs from a tenth of a microsecond, quiet, to tens of
// microseconds, drawing on a large surface). A slice begins counting from one again, since keys
// (and with them a change of mode, and of the turns' cost) arrive only between slices.
constexpr double kClockEveryMs = 0.25;
constexpr int kMostTurnsPerClock = 1 << 16;

int64_t turn_count = 0;
int turns_since_clock = 0;
int turns_per_clock = 1;
double clock_read_ms = 0.0;  // when the clock was last read
double slice_end_ms = 0.0;
uint32_t console_version = 0;

void start_slice() {
  clock_read_ms = emscripten_get_now();
  slice_end_ms = clock_read_ms + kSliceMs;
  turns_since_clock = 0;
  turns_per_clock = 1;
}

// How many turns to make before the next reading, after `turns` took `taken_ms`.
int next_turns_per_clock(int turns, double taken_ms) {
  if (taken_ms < kClockEveryMs) return std::min(2 * turns, kMostTurnsPerClock);
  return std::max(1, static_cast<int>(turns * (kClockEveryMs / taken_ms)));
}

// The page's clock (performance.now), the one its timers keep.
HostTime page_clock() {
  return std::chrono::duration_cast<HostTime>(
      std::chrono::duration<double, std::milli>(emscripten_get_now()));
}

// Until a key comes or the deadline has passed, whichever is first; the page's timer may
// wake it a little early, and the key queue then asks again.
void wait_for_key(HostTime deadline) {
  double timeout_ms = -1.0;
  if (deadline != kNoDeadline) {
    const std::chrono::duration<double, std::milli> left = deadline - page_clock();
    timeout_ms = std::max(0.0, left.count());
  }
  page_wait_for_key(timeout_ms);
  start_slice();
}

void end_turn() {
  ++turn_count;
  if (++turns_since_clock < turns_per_clock) return;
  const double now = emscripten_get_now();
  turns_per_clock = next_turns_per_clock(turns_per_clock, now - clock_read_ms);
  turns_since_clock = 0;
  clock_read_ms = now;
  if (now < slice_end_ms) return;
  page_yield();
  start_slice();
}

class WebConsole : public ConsoleBackend {
 public:
  void present(const ConsoleState&) override { ++console_version; }
  void sleep(unsigned milliseconds) override {
    page_sleep(static_cast<int>(milliseconds));
    start_slice();
  }
};

// The page shows the surface while it is open, as the desktop shows its window.
class WebPresenter : public Presenter {
 public:
  bool open_window(int& width, int& height) override {
    if (!measured_) {
      int free_width = 0, free_height = 0, zoom = 1;
      page_free_area(&free_width, &free_height, &zoom);
      measure_surface(free_width, free_height, 0, 0, zoom, width_, height_);
      measured_ = true;
    }
    width = width_;
    height = height_;
    web_picture_open(width_, height_);
    page_show_surface(width_, height_);
    return true;
  }

  void close_window() override { page_hide_surface(); }

 private:
  bool measured_ = false;
  int width_ = 0, height_ = 0;
};

}  // namespace

int64_t web_turn_count() { return turn_count; }

uint32_t web_console_version() { return console_version; }

// The page gives the language and the seed on the command line ("--lang en --seed 5"), read as
// the desktop reads them; the zoom is the page's choice, given with its free area. It has no
// locale variables: without --lang, Hungarian. An option it cannot read ends the program with
// the desktop's notice, before it starts. The page offers the run's files for download, so they
// are kept when the run ends. No idle hook: nothing wakes a key wait but a key.
int host_program(int argc, const char* const* argv, const std::function<void()>& logic) {
  WebConsole console;
  WebPresenter presenter;
  Host record;
  record.console = &console;
  record.presenter = &presenter;
  record.await_key = wait_for_key;
  record.interrupt = page_interrupted;
  record.turn_hook = end_turn;
  record.clock = page_clock;
  install_host(record);
  start_slice();
  LogicOutcome outcome;
  if (chdir(kDataFolder) != 0) {
    outcome = {kGraphicsExitCode,
               notice::internal_error("the data folder is missing from the page's files")};
  } else if (const ProgramStart start = start_program({argc, argv, nullptr, {}, "."}); !start.ok) {
    outcome = {kUsageExitCode, start.notice};
  } else {
    want_run_files(true);
    outcome = run_logic_guarded(logic);
  }
  clear_host();
  page_program_ended(outcome.exit_code, outcome.message.c_str());
  return outcome.exit_code;
}
