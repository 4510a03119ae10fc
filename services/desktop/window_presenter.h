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
// Repaint: at the display's frame rate, when `surface_changed` is set, the main thread takes
// drawing_lock() for one copy of the surface's changed region (see ChangedRegion in surface.h)
// into a frame buffer of its own, which therefore always mirrors the surface, and clears the
// flag. Outside the lock it converts those boxes through a 256-entry colour table into the
// picture (32-bit pixels in the window's own format) and copies them onto the window's surface,
// telling the display to update those rectangles only. Drawing therefore waits at most one
// memcpy of what changed, and a frame in which only the status box changed costs the status box
// all the way to the display. Where the window's surface is shared memory with the X server this
// is cheap; a window surface that the video driver keeps as a GPU texture would present the whole
// window at every update, which on a software GL stack (a virtual X server, a machine without a
// GPU driver) costs more than a core at 60 frames a second, so the presenter asks SDL for the
// shared-memory kind where the driver has one.
//
// The whole picture goes to the window when the window is created and after it is exposed or
// resized. A window at least as large as the surface shows it at the largest whole multiple that
// fits (see Zoom below), still box by box; a smaller one shows it shrunk to fit with its
// proportions kept (black bars), filtered linearly so that thin lines survive, and every repaint
// then redraws the whole window.
//
// Size: the first opening measures the desktop's usable area less the window frame (the client
// area a maximised window gets), divided by the zoom, never less than 640 x 480; every later
// opening gets that size again, so the run screen matches the layout measured during setup.
//
// Keys typed into the window enter the process's key queue (services/console/keyboard.h; the mapping is in window_keys.h) like terminal
// keys. When the user closes the window it goes away and a V enters the key queue, so the run
// ends as if V had been typed; drawing meanwhile goes on off-screen.
//
// Zoom: with a zoom of N the surface is the usable area divided by N (never less than 640 x 480)
// and is shown enlarged N times. Whenever the window allows, the picture is shown at the largest
// whole multiple that fits, each surface pixel a crisp block; only a window smaller than the
// surface shows it shrunk by a fraction.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "services/graphics/picture.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"

struct _XDisplay;  // the X library's display connection (Display)

struct SDL_PixelFormat;
struct SDL_Surface;
struct SDL_Window;
union SDL_Event;

// The exact window title.
constexpr const char* kWindowTitle = "Graph window application";

// Copies the current surface into `frame` under drawing_lock() (one memcpy, nothing else under
// the lock) and clears surface_changed. Returns false, leaving `frame` alone, when the surface is
// closed or is not width x height (`frame` must hold width * height bytes).
bool copy_surface_pixels(std::vector<uint8_t>& frame, int width, int height);

// Copies the region of the surface changed since the last copy into the same places of `frame`
// under drawing_lock(), hands the region out in `changed` and clears surface_changed. Returns
// false, leaving `frame` alone, when the surface is closed or is not width x height (`frame` must
// hold width * height bytes): the region is then dropped, as a new surface will be changed all
// over.
bool copy_changed_pixels(std::vector<uint8_t>& frame, int width, int height,
                         ChangedRegion& changed);

// What a window shows: the frame converted into 32-bit pixels of the window's format, and how
// they go onto the window's surface. Main thread.
class WindowPicture {
 public:
  // Which rectangles of the window's surface a showing changed: the whole surface, or the list.
  struct Update {
    bool whole = false;
    int count = 0;
    Rect rects[ChangedRegion::kMaxBoxes];
  };

  WindowPicture() = default;
  ~WindowPicture() { destroy(); }
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  // A black width x height picture in `format` (an SDL_PIXELFORMAT_ value; one that is not
  // 32 bits a pixel gives ARGB8888, which SDL converts when it copies). False when SDL cannot
  // make it.
  bool create(uint32_t format, int width, int height);
  void destroy();
  SDL_Surface* surface() const { return picture_; }

  // Converts the boxes of `changed` from the 8-bit frame (as wide as the picture) into the
  // picture; convert_all converts all of it.
  void convert(const uint8_t* frame, const ChangedRegion& changed);
  void convert_all(const uint8_t* frame);

  // Copies the picture onto `shown`, the window's surface, placed by place_picture. At a whole
  // multiple with `changed` given, only its boxes are copied (enlarged and offset as the picture
  // is); otherwise the whole picture, with black bars around it.
  Update show(SDL_Surface* shown, const ChangedRegion* changed) const;

 private:
  void blit(const Rect& from, const Rect& to, int multiple, SDL_Surface* shown) const;

  SDL_Surface* picture_ = nullptr;
  ColourTable colours_{};
};

class WindowPresenter : public Presenter {
 public:
  explicit WindowPresenter(int zoom = 1) : zoom_(zoom) {}
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
  int largest_zoom_here() const;

  // Main thread: services window requests, events and repaints until `logic_done` is true.
  // Afterwards the window is gone and open_window returns false.
  void run(const std::atomic<bool>& logic_done);

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
  void present(const ChangedRegion* changed);

  // Set by init() on the main thread before the logic thread starts; read-only afterwards.
  bool ready_ = false;
  int wake_pipe_[2] = {-1, -1};  // a byte written to [1] ends the main thread's wait
  std::string failure_;

  // The request queue: guarded by queue_mutex_; `done` of a queued request too.
  std::mutex queue_mutex_;
  std::condition_variable queue_done_;
  std::deque<Request*> queue_;
  bool stopped_ = false;  // run() has returned: requests are refused

  const int zoom_;  // surface pixels are shown as zoom x zoom blocks

  // Main thread only.
  bool measured_ = false;
  int width_ = 0, height_ = 0;  // the surface size every opening gives
  SDL_Window* window_ = nullptr;
  _XDisplay* display_ = nullptr;  // SDL's connection to the X display, once a window has shown it
  uint64_t frame_period_ms_ = 16;  // repaint period: the display's refresh rate
  bool needs_full_present_ = false;  // the window must show the whole picture again
  bool suppress_text_ = false;  // the last key-down made its key itself: drop its text input
  std::vector<uint8_t> frame_;  // the last copy of the surface, width_ * height_
  WindowPicture picture_;       // frame_ in the window's pixels
};
