// The SDL2 window that shows the graphics surface.
//
// Threads: SDL runs on the process's main thread, which calls init() and then run() until the
// program logic has finished. The logic thread asks for the window through open_window and
// close_window (from open_graphics and close_graphics); each call puts a request on a small queue,
// wakes the main thread and waits until the main thread has carried it out. The logic thread never
// calls SDL's video functions.
//
// Repaint: at the display's frame rate, when `surface_changed` is set, the main thread takes
// drawing_lock() for one copy of the surface's changed region (see ChangedRegion in surface.h)
// into a frame buffer of its own, which therefore always mirrors the surface, and clears the
// flag; outside the lock it converts those boxes of the frame through a 256-entry colour table
// into the same boxes of a streaming texture, and presents the texture scaled to fit the window
// with its proportions kept (black bars). Drawing therefore waits at most one memcpy of what
// changed for a repaint; a frame in which only the status box changed costs the status box.
// The whole frame is converted and uploaded when the window is created and after it is exposed
// or resized.
//
// Size: the first opening measures the desktop's usable area less the window frame (the client
// area a maximised window gets), never less than 640 x 480; every later opening gets that size
// again, so the run screen matches the layout measured during setup.
//
// Keys typed into the window enter the process's key queue (services/console/keyboard.h; the mapping is in window_keys.h) like terminal
// keys. When the user closes the window it goes away and the program goes on drawing off-screen;
// only a later opening shows a window again.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

// The smallest surface the programs' 640 x 480 design grid needs.
constexpr int kMinSurfaceWidth = 640;
constexpr int kMinSurfaceHeight = 480;

// The exact window title.
constexpr const char* kWindowTitle = "Graph window application";

// Palette index -> 0xAARRGGBB, opaque, for an ARGB8888 texture.
struct ColourTable {
  uint32_t argb[256];
};
ColourTable make_colour_table();

// Converts `count` palette indices into ARGB pixels through the table.
void convert_pixels(const uint8_t* indices, std::size_t count, const ColourTable& table,
                    uint32_t* argb);

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

// Converts a width x height frame into a streaming ARGB8888 texture of the same size.
bool upload_frame(SDL_Texture* texture, const uint8_t* frame, int width, int height,
                  const ColourTable& table);
// Converts the boxes of `changed` (on the frame) into the same boxes of the texture; `frame` is
// `width` pixels a row.
bool upload_changes(SDL_Texture* texture, const uint8_t* frame, int width,
                    const ChangedRegion& changed, const ColourTable& table);

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};
// Where a picture_w x picture_h picture goes in an output_w x output_h window: as large as fits
// with its proportions kept, centred; the rest of the window is black.
Rect fit_picture(int picture_w, int picture_h, int output_w, int output_h);

// The surface size for a usable desktop area and a window frame (left + right, top + bottom).
void measure_surface(int usable_w, int usable_h, int frame_w, int frame_h, int& width,
                     int& height);

class WindowPresenter : public Presenter {
 public:
  WindowPresenter() = default;
  ~WindowPresenter() override;
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  // Main thread, once: starts SDL's video. False when there is no display (SDL cannot start, or
  // only its off-screen or dummy driver is left); failure() then says why.
  bool init();
  // Why init() or the last open_window failed. Read it on the main thread after init(), or on
  // the logic thread after open_window returned false.
  const std::string& failure() const { return failure_; }

  // Main thread: services window requests, events and repaints until `logic_done` is true.
  // Afterwards the window is gone and open_window returns false.
  void run(const std::atomic<bool>& logic_done);

  // Logic thread: see Presenter. Both wait for the main thread to carry the request out.
  bool open_window(int& width, int& height) override;
  void close_window() override;

 private:
  enum class RequestKind { kOpen, kClose };
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
  void handle_keydown(const SDL_Event& event);
  void repaint();
  void present();

  // Set by init() on the main thread before the logic thread starts; read-only afterwards.
  bool ready_ = false;
  uint32_t wake_event_ = 0;  // SDL user event type that wakes the main thread
  std::string failure_;

  // The request queue: guarded by queue_mutex_; `done` of a queued request too.
  std::mutex queue_mutex_;
  std::condition_variable queue_done_;
  std::deque<Request*> queue_;
  bool stopped_ = false;  // run() has returned: requests are refused

  // Main thread only.
  bool measured_ = false;
  int width_ = 0, height_ = 0;  // the surface size every opening gives
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint64_t frame_period_ms_ = 16;  // repaint period: the display's refresh rate
  bool needs_present_ = false;  // the texture is newer than the window's picture
  bool needs_full_upload_ = false;  // the whole frame must go to the texture again
  bool suppress_text_ = false;  // the last key-down made its key itself: drop its text input
  std::vector<uint8_t> frame_;  // the last copy of the surface, width_ * height_
  ColourTable colours_ = make_colour_table();
};
