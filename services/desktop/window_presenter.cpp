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
#include <cmath>
#include <cstring>
#include <thread>

#include "services/console/console_font.h"
#include "services/desktop/window_keys.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"

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
  while (!logic_done.load() || (console_mode_ && window_ != nullptr && !dismissed_)) {
    if (console_mode_ && logic_done.load()) holding_ = true;
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

bool WindowPresenter::show_console(std::function<void()> on_close_text) {
  console_mode_ = true;
  on_close_text_ = std::move(on_close_text);
  if (create_window()) return true;
  destroy_window();
  return false;
}

void WindowPresenter::console_changed(const ConsoleState& state) {
  {
    std::lock_guard<std::mutex> lock(console_mutex_);
    console_handed_ = state;
  }
  console_dirty_.store(true);
  wake();
}

void WindowConsole::sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
      if (console_mode_) {
        surface_open_ = false;  // the console again, in the same window
        needs_full_present_ = true;
      } else {
        destroy_window();
      }
      break;
  }
}

bool WindowPresenter::open_on_main_thread(int& width, int& height) {
  if (console_mode_ && window_ != nullptr) {
    // The window that shows the console shows the surface now, at the size measured when it
    // was created; the mirror starts black and brings all of it at the next repaint.
    surface_open_ = true;
    mirror_.resize(width_, height_);
    needs_full_present_ = true;
    width = width_;
    height = height_;
    return true;
  }
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
  if (largest_zoom_) {
    zoom_ = std::max(1.0, largest_zoom(usable_w - left - right, usable_h - top - bottom));
  }
  measure_surface(usable_w, usable_h, left + right, top + bottom, zoom_, width_, height_);
  measured_ = true;
}

// Creates the window maximised over the usable desktop (measuring the surface size on the first
// call), with a picture of the surface's size in the window's pixel format, and shows it black.
bool WindowPresenter::create_window() {
  SDL_Rect usable{0, 0, kMinSurfaceWidth, kMinSurfaceHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int request_w = measured_ ? static_cast<int>(std::lround(width_ * zoom_)) : usable.w;
  const int request_h = measured_ ? static_cast<int>(std::lround(height_ * zoom_)) : usable.h;
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
  mirror_.resize(width_, height_);
  // The console's first repaint shows it all; a surface's window shows black until then.
  if (console_mode_) {
    needs_full_present_ = true;
  } else {
    present(picture_, nullptr, surface_scaling());
  }
  SDL_StartTextInput();
  return true;
}

double WindowPresenter::largest_zoom_here() const {
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
  if (holding_) {
    // The last screen waits for a key (not a modifier alone) or a close.
    const bool modifier = event.type == SDL_KEYDOWN && event.key.keysym.sym >= SDLK_LCTRL &&
                          event.key.keysym.sym <= SDLK_RGUI;
    if ((event.type == SDL_KEYDOWN && !modifier) ||
        (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      dismissed_ = true;
      return;
    }
  }
  // SDL follows the close of its last window with a quit event: the window that shows the
  // console answers the close alone, once.
  if (event.type == SDL_QUIT && console_mode_) return;
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

// Brings the mirror up to date, converts what changed in it and shows that: its boxes, or the
// whole picture after an opening, a closing (black until the next surface is drawn) or an
// expose or resize of the window.
void WindowPresenter::repaint() {
  if (window_ == nullptr) return;
  if (console_mode_ && !surface_open_) {
    repaint_console();
    return;
  }
  const MirrorChanges changes = mirror_.update();
  picture_.convert(mirror_.pixels(), changes.boxes);
  if (changes.all) needs_full_present_ = true;
  const PictureScaling scaling = surface_scaling();
  if (needs_full_present_) {
    present(picture_, nullptr, scaling);
  } else if (!changes.boxes.no_boxes()) {
    present(picture_, &changes.boxes, scaling);
  }
}

// A whole zoom shows the surface crisp at whole multiples; a fractional one fills the window.
PictureScaling WindowPresenter::surface_scaling() const {
  return whole_zoom(zoom_) ? PictureScaling::WholeMultiple : PictureScaling::Fill;
}

// The console picture in the font that fits the window now: the cells that changed since the
// last repaint (and the cursor's blink), or all of it after the font changed or the window was
// exposed or resized.
void WindowPresenter::repaint_console() {
  SDL_Surface* shown = SDL_GetWindowSurface(window_);
  if (shown == nullptr) {
    needs_full_present_ = true;
    return;
  }
  const int font = console_font_for(shown->w, shown->h);
  if (font != console_picture_.font_index()) {
    console_picture_.set_font(font);
    if (!console_window_picture_.create(shown->format->format, console_picture_.width(),
                                        console_picture_.height())) {
      return;
    }
    needs_full_present_ = true;
  }
  if (console_dirty_.exchange(false)) {
    std::lock_guard<std::mutex> lock(console_mutex_);
    console_shown_ = console_handed_;
  }
  const ChangedRegion changed =
      console_picture_.update(console_shown_, cursor_shown_at(steady_clock_now()));
  console_window_picture_.convert(console_picture_.pixels(), changed);
  if (needs_full_present_) {
    present(console_window_picture_, nullptr, PictureScaling::WholeMultiple);
  } else if (!changed.no_boxes()) {
    present(console_window_picture_, &changed, PictureScaling::WholeMultiple);
  }
}

// Closing the window (its close button, or the window manager's close) ends the run as V does:
// the window goes at once, and a V in the key queue tells the run. Both close events of one
// closing arrive; only the first, while the window is there, counts.
void WindowPresenter::close_by_user() {
  if (window_ == nullptr) return;
  if (console_mode_) {
    // The one window stays: the summary follows in it after a run, and closing it at a text
    // screen is the host's to answer.
    if (surface_open_) {
      push_key(KeyEvent{'V', false});
    } else if (on_close_text_) {
      on_close_text_();
    }
    return;
  }
  destroy_window();
  push_key(KeyEvent{'V', false});
}

// Shows the picture's changed boxes, or (null) all of it. A window surface that SDL cannot make
// now (the window is changing size) leaves the whole picture for the next repaint.
void WindowPresenter::present(const WindowPicture& picture, const ChangedRegion* changed,
                              PictureScaling scaling) {
  SDL_Surface* shown = SDL_GetWindowSurface(window_);
  needs_full_present_ = shown == nullptr;
  if (shown == nullptr) return;
  const WindowPicture::Update update = picture.show(shown, changed, scaling);
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
  wake();
  std::unique_lock<std::mutex> lock(queue_mutex_);
  queue_done_.wait(lock, [&request] { return request.done; });
}

// Ends the main thread's wait: a byte on the wake-up pipe.
void WindowPresenter::wake() {
  const char byte = 1;
  const ssize_t written = write(wake_pipe_[1], &byte, 1);  // a full pipe is awake already
  (void)written;
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
