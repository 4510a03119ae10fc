// The SDL2 window that shows the graphics surface.
//
// Threads: SDL runs on the process's main thread, which calls init() and then run() until the
// program logic has finished. The logic thread asks for the window through open_window and
// close_window (from open_graphics and close_graphics); each call puts a request on a small queue,
// wakes the main thread through a pipe and waits until the main thread has carried it out. The
// logic thread never calls SDL.
//
// Waiting: the main thread takes SDL's events only by polling, and sleeps in poll() on the
// display connection and the wake-up pipe until the next frame. SDL's own blocking wait sends a
// wake-up to the window over a second display connection for every event it handles while
// waiting; when that window is destroyed at once (the person closed it), the display may answer
// the late wake-up with BadWindow, which the X library reports as fatal when SDL closes that
// connection, and the program would end with code 1 after a run that ended well.
//
// Repaint: at the display's frame rate the main thread brings its mirror of the surface up to
// date (surface_mirror.h: one copy of the changed region under drawing_lock(), and no lock at all
// when nothing changed). Outside the lock the picture (window_picture.h) converts those boxes
// into the window's pixels and copies them onto the window's surface, and the display is told
// to update those rectangles only. Drawing therefore waits at most one memcpy of what changed,
// and a frame in which only the status box changed costs the status box all the way to the
// display. Where the window's surface is shared memory with the X server this is cheap; a
// window surface that the video driver keeps as a GPU texture would present the whole window at
// every update, which on a software GL stack (a virtual X server, a machine without a GPU
// driver) costs more than a core at 60 frames a second, so the presenter asks SDL for the
// shared-memory kind where the driver has one.
//
// The whole picture goes to the window when the window is created, after it is exposed or
// resized, and when the mirror has changed all over (the surface opened or closed). A window
// smaller than the surface shows it shrunk, and every repaint then redraws the whole window.
//
// Size: the first opening measures the desktop's usable area less the window frame (the client
// area a maximised window gets), divided by the zoom, never less than 640 x 480; every later
// opening gets that size again, so the run screen matches the layout measured during setup.
//
// Keys typed into the window enter the process's key queue (services/console/keyboard.h; the
// mapping is in window_keys.h) like terminal keys. When the user closes the window it goes away
// and a V enters the key queue, so the run ends as if V had been typed; drawing meanwhile goes on
// off-screen.
//
// The console in the window: when the program has no terminal to show its text screens (or is
// asked for its own window), the window also shows the console. It is created before the logic
// starts (show_console) and stays until the program ends: while no surface is open it shows the
// console picture (console_picture.h) in the largest font that fits the window crisp, chosen
// again whenever the window changes size; an opening of the surface shows the surface in the
// same window (the first opening measured the window when it was created), and a closing shows
// the console again. The logic thread hands in the console model at the end of every write
// (console_changed, through WindowConsole); the main thread copies it under console_mutex_ at
// its next frame and redraws the cells that changed, the cursor blinking. Closing the window
// while it shows the surface ends the run as V does (the summary follows in the window); while
// it shows the console, it calls the host's on-close (the program ends, as when its terminal is
// closed). When the program's logic has ended, the window keeps its last screen until a key is
// pressed in it or it is closed, so the closing line (or an error's message) can be read.
//
// Zoom: with a zoom of Z the surface is the usable area divided by Z (never less than 640 x 480)
// and is shown enlarged Z times. The largest zoom (--zoom max) is the one that leaves the surface
// 640 x 480 in the measured area, fractional where the area's proportions make it so. With a
// whole zoom, whenever the window allows, the picture is shown at the largest whole multiple
// that fits, each surface pixel a crisp block, and only a window smaller than the surface shows
// it shrunk by a fraction; a fractional zoom fills the window, scaled smoothly, and every repaint
// then redraws the whole window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "services/console/console.h"
#include "services/console/console_picture.h"
#include "services/desktop/window_picture.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface_mirror.h"

struct _XDisplay;  // the X library's display connection (Display)

struct SDL_Window;
union SDL_Event;

// The exact window title.
constexpr const char* kWindowTitle = "Graph window application";

class WindowPresenter : public Presenter {
 public:
  // `zoom` from 1; `largest_zoom`: the largest the measured area allows, whatever `zoom` says.
  explicit WindowPresenter(double zoom = 1, bool largest_zoom = false)
      : zoom_(zoom), largest_zoom_(largest_zoom) {}
  ~WindowPresenter() override;
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Main thread, once: starts SDL's video. False when there is no display (SDL cannot start, or
  // only its off-screen or dummy driver is left); failure() then says why.
  bool init();
  // Why init() or the last open_window failed. Read it on the main thread after init(), or on
  // the logic thread after open_window returned false.
  const std::string& failure() const { return failure_; }
  // Main thread, after init(): the largest zoom the display's usable area allows.
  double largest_zoom_here() const;

  // Main thread, after init() and before run(): the window shows the console as well (see
  // above), created now. `on_close_text` runs on the main thread when the person closes the
  // window while it shows the console. False when the window cannot be made (failure() says why).
  bool show_console(std::function<void()> on_close_text);

  // Main thread: services window requests, events and repaints until `logic_done` is true (and,
  // when it shows the console, until its last screen has been dismissed). Afterwards the window
  // is gone and open_window returns false.
  void run(const std::atomic<bool>& logic_done);

  // Logic thread: the console model as it stands after a write (WindowConsole::present).
  void console_changed(const ConsoleState& state);

  // Logic thread: see Presenter. Both wait for the main thread to carry the request out.
  bool open_window(int& width, int& height) override;
  void close_window() override;

 private:
  enum class RequestKind { Open, Close };
  struct Request {
    RequestKind kind;
    bool done = false;
    bool ok = false;
    int width = 0, height = 0;
  };

  void submit(Request& request);
  void serve_requests();
  void carry_out(Request& request);
  bool open_on_main_thread(int& width, int& height);
  bool create_window();
  void measure(int usable_w, int usable_h);
  void destroy_window();
  void handle_event(const SDL_Event& event);
  void close_by_user();
  void wait_for_input(int timeout_ms);
  void handle_keydown(const SDL_Event& event);
  void repaint();
  void repaint_console();
  PictureScaling surface_scaling() const;
  void present(const WindowPicture& picture, const ChangedRegion* changed,
               PictureScaling scaling);
  void wake();

  // Set by init() on the main thread before the logic thread starts; read-only afterwards.
  bool ready_ = false;
  int wake_pipe_[2] = {-1, -1};  // a byte written to [1] ends the main thread's wait
  std::string failure_;

  // The request queue: guarded by queue_mutex_; `done` of a queued request too.
  std::mutex queue_mutex_;
  std::condition_variable queue_done_;
  std::deque<Request*> queue_;
  bool stopped_ = false;  // run() has returned: requests are refused

  // Main thread only: surface pixels are shown zoom_ times as large; with largest_zoom_ the
  // first measuring sets zoom_.
  double zoom_;
  const bool largest_zoom_;

  // Main thread only.
  bool measured_ = false;
  int width_ = 0, height_ = 0;  // the surface size every opening gives
  SDL_Window* window_ = nullptr;
  _XDisplay* display_ = nullptr;  // SDL's connection to the X display, once a window has shown it
  uint64_t frame_period_ms_ = 16;  // repaint period: the display's refresh rate
  bool needs_full_present_ = false;  // the window must show the whole picture again
  bool suppress_text_ = false;  // the last key-down made its key itself: drop its text input
  SurfaceMirror mirror_;    // the surface as of the last repaint, width_ x height_
  WindowPicture picture_;   // the mirror in the window's pixels

  // The console handed in by the logic thread: guarded by console_mutex_; console_dirty_ says a
  // newer one waits.
  std::mutex console_mutex_;
  ConsoleState console_handed_;
  std::atomic<bool> console_dirty_{false};

  // Main thread only, when the window shows the console.
  bool console_mode_ = false;      // show_console was called
  bool surface_open_ = false;      // the surface is open and shown instead of the console
  bool holding_ = false;           // the logic has ended: the last screen waits to be dismissed
  bool dismissed_ = false;         // ... and a key or a close has dismissed it
  std::function<void()> on_close_text_;
  ConsoleState console_shown_;     // the console as last taken from console_handed_
  ConsolePicture console_picture_;
  WindowPicture console_window_picture_;  // console_picture_ in the window's pixels
};

// The console backend of a program that shows its text screens in its own window: every write's
// model goes to the window, and sleeping is the thread's.
class WindowConsole : public ConsoleBackend {
 public:
  explicit WindowConsole(WindowPresenter& window) : window_(window) {}
  void present(const ConsoleState& state) override { window_.console_changed(state); }
  void sleep(unsigned milliseconds) override;

 private:
  WindowPresenter& window_;
};
