// The SDL2 window presenter: request queue, window life, events, keys and repaint.
//
// Everything that touches SDL's video runs on the main thread inside run(); the logic thread only
// queues requests (submit) and waits for them. See window_presenter.h for the model.
#include "services/desktop/window_presenter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "services/desktop/window_keys.h"
#include "services/graphics/surface.h"
#include "services/host.h"

// ---------------------------------------------------------------------------------------------
// Repaint steps

// The palette in the channel layout of a 32-bit SDL pixel format.
static ColourTable make_colour_table(const SDL_PixelFormat* format) {
  return make_colour_table(PixelLayout{format->Rshift, format->Gshift, format->Bshift,
                                       format->Amask});
}

bool copy_surface_pixels(std::vector<uint8_t>& frame, int width, int height) {
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::lock_guard<std::mutex> lock(drawing_lock());
  surface_changed.store(false, std::memory_order_relaxed);
  const Surface& surface = current_surface();
  if (!surface.is_open() || surface.width() != width || surface.height() != height ||
      frame.size() < bytes) {
    return false;
  }
  std::memcpy(frame.data(), surface.pixels(), bytes);
  return true;
}

bool copy_changed_pixels(std::vector<uint8_t>& frame, int width, int height,
                         ChangedRegion& changed) {
  std::lock_guard<std::mutex> lock(drawing_lock());
  surface_changed.store(false, std::memory_order_relaxed);
  changed = take_surface_changes();
  const Surface& surface = current_surface();
  if (!surface.is_open() || surface.width() != width || surface.height() != height ||
      frame.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    changed.clear();
    return false;
  }
  for (const SurfaceBox& box : changed) {
    const std::size_t count = static_cast<std::size_t>(box.x2 - box.x1 + 1);
    for (int y = box.y1; y <= box.y2; ++y) {
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(box.x1);
      std::memcpy(frame.data() + at, surface.pixels() + at, count);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// The picture

bool WindowPicture::create(uint32_t format, int width, int height) {
  destroy();
  if (SDL_BYTESPERPIXEL(format) != 4 || SDL_ISPIXELFORMAT_INDEXED(format)) {
    format = SDL_PIXELFORMAT_ARGB8888;
  }
  picture_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format);
  if (picture_ == nullptr) return false;
  SDL_SetSurfaceBlendMode(picture_, SDL_BLENDMODE_NONE);  // copies replace, whatever the alpha
  colours_ = make_colour_table(picture_->format);
  SDL_FillRect(picture_, nullptr, colours_.pixel[0]);
  return true;
}

void WindowPicture::destroy() {
  if (picture_ != nullptr) SDL_FreeSurface(picture_);
  picture_ = nullptr;
}

void WindowPicture::convert(const uint8_t* frame, const ChangedRegion& changed) {
  convert_changed(frame, picture_->w, changed, colours_, picture_->pixels, picture_->pitch);
}

void WindowPicture::convert_all(const uint8_t* frame) {
  ChangedRegion all;
  all.add(SurfaceBox{0, 0, picture_->w - 1, picture_->h - 1});
  convert(frame, all);
}

// Whole multiples of the picture (1x included) copy only the changed boxes, each surface pixel a
// crisp block; a window smaller than the picture shows all of it shrunk, smoothed.
WindowPicture::Update WindowPicture::show(SDL_Surface* shown, const ChangedRegion* changed) const {
  Update update;
  const Placement placement = place_picture(picture_->w, picture_->h, shown->w, shown->h);
  const Rect fit = placement.target;
  const int multiple = placement.whole_multiple ? fit.w / picture_->w : 0;
  if (multiple >= 1 && changed != nullptr) {
    for (const SurfaceBox& box : *changed) {
      const Rect from{box.x1, box.y1, box.x2 - box.x1 + 1, box.y2 - box.y1 + 1};
      const Rect rect{fit.x + box.x1 * multiple, fit.y + box.y1 * multiple, from.w * multiple,
                      from.h * multiple};
      blit(from, rect, multiple, shown);
      update.rects[update.count++] = rect;
    }
    return update;
  }
  update.whole = true;
  if (fit.x > 0 || fit.y > 0 || fit.w < shown->w || fit.h < shown->h) {
    SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 0, 0, 0));
  }
  if (fit.w <= 0 || fit.h <= 0) return update;
  if (multiple >= 1) {
    blit(Rect{0, 0, picture_->w, picture_->h}, fit, multiple, shown);
    return update;
  }
  SDL_Rect to{fit.x, fit.y, fit.w, fit.h};
  if (picture_->format->format == shown->format->format) {
    SDL_SoftStretchLinear(picture_, nullptr, shown, &to);
  } else {
    SDL_BlitScaled(picture_, nullptr, shown, &to);  // nearest pixel: formats differ
  }
  return update;
}

// A part of the picture onto the window, enlarged `multiple` times (nearest pixel).
void WindowPicture::blit(const Rect& part, const Rect& to, int multiple, SDL_Surface* shown) const {
  SDL_Rect from{part.x, part.y, part.w, part.h};
  SDL_Rect target{to.x, to.y, to.w, to.h};
  if (multiple == 1) {
    SDL_BlitSurface(picture_, &from, shown, &target);
  } else {
    SDL_BlitScaled(picture_, &from, shown, &target);
  }
}

// ---------------------------------------------------------------------------------------------
// The presenter: main-thread side

WindowPresenter::~WindowPresenter() {
  destroy_window();
  if (ready_) SDL_Quit();
  for (const int fd : wake_pipe_) {
    if (fd >= 0) close(fd);
  }
}

bool WindowPresenter::init() {
  const char* prefix = "Cannot show the graphics window: no display is available";
  // The program installs its own signal handlers; SDL must leave SIGINT and SIGTERM alone.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // An ordinary desktop window: let the compositor treat it like any other.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // A window surface in shared memory with the display where the driver has one, so that
  // updating a few rectangles costs those rectangles (see window_presenter.h).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    failure_ = std::string(prefix) + " (" + SDL_GetError() + ").";
    SDL_Quit();
    return false;
  }
  // SDL falls back to drivers that draw nowhere; for us they mean the same as no display.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
      std::strcmp(driver, "dummy") == 0) {
    failure_ = std::string(prefix) + " (only the \"" + (driver ? driver : "none") +
               "\" video driver could start).";
    SDL_Quit();
    return false;
  }
  if (pipe2(wake_pipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    failure_ = std::string("Cannot show the graphics window: no pipe (") + std::strerror(errno) +
               ").";
    SDL_Quit();
    return false;
  }
  ready_ = true;
  return true;
}

void WindowPresenter::run(const std::atomic<bool>& logic_done) {
  if (!ready_) {
    // No display: nothing to service, only wait for the logic to finish.
    while (!logic_done.load()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return;
  }
  uint64_t next_frame = SDL_GetTicks64();
  while (!logic_done.load()) {
    const uint64_t now = SDL_GetTicks64();
    const int timeout = next_frame > now ? static_cast<int>(next_frame - now) : 0;
    wait_for_input(timeout);
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle_event(event);
    serve_requests();
    const uint64_t after = SDL_GetTicks64();
    if (after >= next_frame) {
      repaint();
      next_frame += frame_period_ms_;
      if (next_frame <= after) next_frame = after + frame_period_ms_;  // fell behind: no catch-up
    }
  }
  destroy_window();
  // Nobody serves requests from now on: answer those queued and refuse later ones.
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    stopped_ = true;
    for (Request* request : queue_) request->done = true;
    queue_.clear();
  }
  queue_done_.notify_all();
}

// Sleeps until the display has sent something, the logic thread has written to the wake-up pipe,
// or `timeout_ms` has passed; at once when the display library already holds events it read
// meanwhile (a repaint's round trip reads them off the connection).
void WindowPresenter::wait_for_input(int timeout_ms) {
  if (display_ == nullptr && window_ != nullptr) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      display_ = info.info.x11.display;
    }
  }
  if (display_ != nullptr && XEventsQueued(display_, QueuedAlready) > 0) return;
  pollfd fds[2] = {{wake_pipe_[0], POLLIN, 0},
                   {display_ != nullptr ? ConnectionNumber(display_) : -1, POLLIN, 0}};
  poll(fds, display_ != nullptr ? 2 : 1, timeout_ms);
  char drained[64];
  while (read(wake_pipe_[0], drained, sizeof drained) > 0) {
  }
}

void WindowPresenter::serve_requests() {
  for (;;) {
    Request* request = nullptr;
    {
      std::lock_guard<std::mutex> lock(queue_mutex_);
      if (queue_.empty()) return;
      request = queue_.front();
      queue_.pop_front();
    }
    carry_out(*request);
    {
      std::lock_guard<std::mutex> lock(queue_mutex_);
      request->done = true;
    }
    queue_done_.notify_all();
  }
}

void WindowPresenter::carry_out(Request& request) {
  switch (request.kind) {
    case RequestKind::Open:
      request.ok = open_on_main_thread(request.width, request.height);
      break;
    case RequestKind::Close:
      destroy_window();
      break;
  }
}

bool WindowPresenter::open_on_main_thread(int& width, int& height) {
  destroy_window();
  if (!create_window()) {
    destroy_window();
    return false;
  }
  width = width_;
  height = height_;
  return true;
}

// The display's frame period; 16 ms when the display does not tell its rate.
static uint64_t display_frame_period_ms(SDL_Window* window) {
  const int display = SDL_GetWindowDisplayIndex(window);
  SDL_DisplayMode mode{};
  if (SDL_GetCurrentDisplayMode(std::max(display, 0), &mode) == 0 && mode.refresh_rate > 0) {
    return static_cast<uint64_t>(std::max(1, 1000 / mode.refresh_rate));
  }
  return 16;
}

// The surface size from the first window: the usable area less the window's frame. The frame
// size needs no waiting: a window manager sets the frame extents when it frames the window,
// before it maps it, and SDL's show has already waited for the map; the change notice only has
// to be taken from the queue of X events (SDL_PumpEvents).
void WindowPresenter::measure(int usable_w, int usable_h) {
  SDL_PumpEvents();
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;  // no frame information: take the whole usable area
  }
  measure_surface(usable_w, usable_h, left + right, top + bottom, zoom_, width_, height_);
  measured_ = true;
}

// Creates the window maximised over the usable desktop (measuring the surface size on the first
// call), with a picture of the surface's size in the window's pixel format, and shows it black.
bool WindowPresenter::create_window() {
  SDL_Rect usable{0, 0, kMinSurfaceWidth, kMinSurfaceHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int request_w = measured_ ? width_ * zoom_ : usable.w;
  const int request_h = measured_ ? height_ * zoom_ : usable.h;
  window_ = SDL_CreateWindow(kWindowTitle, usable.x, usable.y, request_w, request_h,
                             SDL_WINDOW_RESIZABLE | SDL_WINDOW_MAXIMIZED);
  if (window_ == nullptr) {
    failure_ = std::string("Window creation failed: ") + SDL_GetError();
    return false;
  }
  if (!measured_) measure(usable.w, usable.h);
  SDL_Surface* shown = SDL_GetWindowSurface(window_);
  if (shown == nullptr || !picture_.create(shown->format->format, width_, height_)) {
    failure_ = std::string("Window creation failed: ") + SDL_GetError();
    return false;
  }
  frame_period_ms_ = display_frame_period_ms(window_);
  frame_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  present(nullptr);
  SDL_StartTextInput();
  return true;
}

int WindowPresenter::largest_zoom_here() const {
  SDL_Rect usable{0, 0, kMinSurfaceWidth, kMinSurfaceHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  return largest_zoom(usable.w, usable.h);
}

void WindowPresenter::destroy_window() {
  picture_.destroy();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  needs_full_present_ = false;
}

void WindowPresenter::handle_event(const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    close_by_user();
  } else if (event.type == SDL_WINDOWEVENT) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_CLOSE:
        close_by_user();
        break;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_RESTORED:
        needs_full_present_ = true;
        break;
      default:
        break;
    }
  } else if (event.type == SDL_KEYDOWN) {
    handle_keydown(event);
  } else if (event.type == SDL_TEXTINPUT) {
    if (!suppress_text_) push_text_keys(event.text.text);
    suppress_text_ = false;
  }
}

// A key-down that makes its own key (keypad /, Alt or Ctrl combinations) may still be followed by
// the text input of the same key press; suppress_text_ drops that one text event.
void WindowPresenter::handle_keydown(const SDL_Event& event) {
  const auto mod = static_cast<uint16_t>(event.key.keysym.mod);
  if (is_interrupt_keydown(event.key.keysym.sym, mod)) {
    suppress_text_ = true;
    interrupt_program();  // ends the program as Ctrl-C in the terminal does
    return;
  }
  const std::optional<KeyEvent> key = key_for_keydown(event.key.keysym.sym, mod);
  suppress_text_ = key.has_value();
  if (key) push_key(*key);
}

void WindowPresenter::repaint() {
  if (window_ == nullptr) return;
  ChangedRegion changed;
  if (surface_changed.load(std::memory_order_acquire)) {
    if (copy_changed_pixels(frame_, width_, height_, changed)) {
      picture_.convert(frame_.data(), changed);
    } else {
      // A closed or resized surface shows black until the new one is drawn (all over).
      std::fill(frame_.begin(), frame_.end(), 0);
      picture_.convert_all(frame_.data());
      needs_full_present_ = true;
    }
  }
  if (needs_full_present_) {
    present(nullptr);
  } else if (!changed.empty()) {
    present(&changed);
  }
}

// Closing the window (its close button, or the window manager's close) ends the run as V does:
// the window goes at once, and a V in the key queue tells the run. Both close events of one
// closing arrive; only the first, while the window is there, counts.
void WindowPresenter::close_by_user() {
  if (window_ == nullptr) return;
  destroy_window();
  push_key(KeyEvent{'V', false});
}

// Shows the picture's changed boxes, or (null) all of it. A window surface that SDL cannot make
// now (the window is changing size) leaves the whole picture for the next repaint.
void WindowPresenter::present(const ChangedRegion* changed) {
  SDL_Surface* shown = SDL_GetWindowSurface(window_);
  needs_full_present_ = shown == nullptr;
  if (shown == nullptr) return;
  const WindowPicture::Update update = picture_.show(shown, changed);
  if (update.whole) {
    SDL_UpdateWindowSurface(window_);
    return;
  }
  SDL_Rect rects[ChangedRegion::kMaxBoxes];
  for (int i = 0; i < update.count; ++i) {
    const Rect& r = update.rects[i];
    rects[i] = SDL_Rect{r.x, r.y, r.w, r.h};
  }
  SDL_UpdateWindowSurfaceRects(window_, rects, update.count);
}

// ---------------------------------------------------------------------------------------------
// The presenter: logic-thread side

void WindowPresenter::submit(Request& request) {
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    if (stopped_) return;  // request.done stays false: refused
    queue_.push_back(&request);
  }
  const char wake = 1;
  const ssize_t written = write(wake_pipe_[1], &wake, 1);  // a full pipe is awake already
  (void)written;
  std::unique_lock<std::mutex> lock(queue_mutex_);
  queue_done_.wait(lock, [&request] { return request.done; });
}

bool WindowPresenter::open_window(int& width, int& height) {
  if (!ready_) return false;
  Request request{RequestKind::Open};
  submit(request);
  if (!request.ok) return false;
  width = request.width;
  height = request.height;
  return true;
}

void WindowPresenter::close_window() {
  if (!ready_) return;
  Request request{RequestKind::Close};
  submit(request);
}
