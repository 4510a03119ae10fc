// The SDL2 window that shows the graphics surface.
//
// Threads: SDL runs on the process's main thread, which calls init() and then run() until the
// program logic has finished. The logic thread asks for the window through open_window and
// close_window (from open_graphics and close_graphics); each call puts a request on a small queue,
// wakes the main thread and waits until the main thread has carried it out. The logic thread never
// calls SDL's video functions.
//
// Repaint: at the display's frame rate, when `surface_changed` is set, the main thread takes
// drawing_lock() for exactly one copy of the 8-bit surface into a frame buffer of its own and
// clears the flag; outside the lock it converts the frame through a 256-entry colour table into a
// streaming texture and presents it, scaled to fit the window with its proportions kept (black
// bars). Drawing therefore waits at most one memcpy of the surface for a repaint.
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

#include "services/graphics/presenter.h"

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

// Converts a width x height frame into a streaming ARGB8888 texture of the same size.
bool upload_frame(SDL_Texture* texture, const uint8_t* frame, int width, int height,
                  const ColourTable& table);

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};
// Where a picture_w x picture_h picture goes in an output_w x output_h window: as large as fits
// with its proportions kept, centred; the rest of the window is black.
Rect fit_picture(int picture_w, int picture_h, int output_w, int output_h);

// How the picture is shown: enlarged by the largest whole multiple that fits, each surface pixel
// a crisp block, or, in a window smaller than the picture, shrunk by the fraction that fits.
struct Placement {
  Rect target;
  bool whole_multiple = false;  // false: shrunk, smoothed so that thin lines survive
};
Placement place_picture(int picture_w, int picture_h, int output_w, int output_h);

// The surface size for a usable desktop area, a window frame (left + right, top + bottom) and a
// zoom: the area left inside the frame divided by the zoom, never less than 640 x 480.
void measure_surface(int usable_w, int usable_h, int frame_w, int frame_h, int zoom, int& width,
                     int& height);

// The largest zoom that leaves a usable area of usable_w x usable_h at least 640 x 480.
int largest_zoom(int usable_w, int usable_h);

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
  void close_by_user();
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

  const int zoom_;  // surface pixels are shown as zoom x zoom blocks

  // Main thread only.
  bool measured_ = false;
  int width_ = 0, height_ = 0;  // the surface size every opening gives
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint64_t frame_period_ms_ = 16;  // repaint period: the display's refresh rate
  bool needs_present_ = false;  // the texture is newer than the window's picture
  bool suppress_text_ = false;  // the last key-down made its key itself: drop its text input
  std::vector<uint8_t> frame_;  // the last copy of the surface, width_ * height_
  ColourTable colours_ = make_colour_table();
};
