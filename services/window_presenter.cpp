// The SDL2 window presenter: request queue, window life, events, keys and repaint.
//
// Everything that touches SDL's video runs on the main thread inside run(); the logic thread only
// queues requests (submit) and waits for them. See window_presenter.h for the model.
#include "services/window_presenter.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "services/cp852.h"
#include "services/surface.h"

static_assert(key_mod::kShift == KMOD_SHIFT && key_mod::kCtrl == KMOD_CTRL);
static_assert(key_mod::kAlt == KMOD_ALT && key_mod::kNumLock == KMOD_NUM);

// ---------------------------------------------------------------------------------------------
// Repaint steps

ColourTable make_colour_table() {
  ColourTable table{};
  for (int i = 0; i < 256; ++i) table.argb[i] = 0xFF000000u | (kPalette[i] & 0xFFFFFFu);
  return table;
}

void convert_pixels(const uint8_t* indices, std::size_t count, const ColourTable& table,
                    uint32_t* argb) {
  for (std::size_t i = 0; i < count; ++i) argb[i] = table.argb[indices[i]];
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

bool upload_frame(SDL_Texture* texture, const uint8_t* frame, int width, int height,
                  const ColourTable& table) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return false;
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                            static_cast<std::ptrdiff_t>(y) * pitch);
    convert_pixels(frame + static_cast<std::ptrdiff_t>(y) * width, width, table, row);
  }
  SDL_UnlockTexture(texture);
  return true;
}

Rect fit_picture(int picture_w, int picture_h, int output_w, int output_h) {
  if (picture_w <= 0 || picture_h <= 0 || output_w <= 0 || output_h <= 0) return {};
  // Compare the two aspect ratios exactly: output_w / output_h against picture_w / picture_h.
  const int64_t across = int64_t{output_w} * picture_h;
  const int64_t down = int64_t{output_h} * picture_w;
  Rect r;
  if (across <= down) {  // the width limits the picture
    r.w = output_w;
    r.h = static_cast<int>(across / picture_w);
  } else {
    r.h = output_h;
    r.w = static_cast<int>(down / picture_h);
  }
  r.x = (output_w - r.w) / 2;
  r.y = (output_h - r.h) / 2;
  return r;
}

void measure_surface(int usable_w, int usable_h, int frame_w, int frame_h, int& width,
                     int& height) {
  width = std::max(kMinSurfaceWidth, usable_w - std::max(0, frame_w));
  height = std::max(kMinSurfaceHeight, usable_h - std::max(0, frame_h));
}

// ---------------------------------------------------------------------------------------------
// Keys

namespace {

// The classic PC codes of an extended key: alone, with Shift, with Ctrl, with Alt.
struct ExtendedKey {
  SDL_Keycode sym;
  uint8_t plain, shift, ctrl, alt;
};

constexpr ExtendedKey kExtendedKeys[] = {
    {SDLK_F1, 59, 84, 94, 104},     {SDLK_F2, 60, 85, 95, 105},
    {SDLK_F3, 61, 86, 96, 106},     {SDLK_F4, 62, 87, 97, 107},
    {SDLK_F5, 63, 88, 98, 108},     {SDLK_F6, 64, 89, 99, 109},
    {SDLK_F7, 65, 90, 100, 110},    {SDLK_F8, 66, 91, 101, 111},
    {SDLK_F9, 67, 92, 102, 112},    {SDLK_F10, 68, 93, 103, 113},
    {SDLK_F11, 133, 135, 137, 139}, {SDLK_F12, 134, 136, 138, 140},
    {SDLK_HOME, 71, 71, 119, 151},  {SDLK_UP, 72, 72, 141, 152},
    {SDLK_PAGEUP, 73, 73, 132, 153}, {SDLK_LEFT, 75, 75, 115, 155},
    {SDLK_RIGHT, 77, 77, 116, 157}, {SDLK_END, 79, 79, 117, 159},
    {SDLK_DOWN, 80, 80, 145, 160},  {SDLK_PAGEDOWN, 81, 81, 118, 161},
    {SDLK_INSERT, 82, 82, 146, 162}, {SDLK_DELETE, 83, 83, 147, 163},
    {SDLK_KP_ENTER, 28, 28, 28, 166}, {SDLK_KP_DIVIDE, 53, 53, 149, 164},
};

// Keypad keys that act as the cursor block while Num Lock is off.
struct KeypadCursor {
  SDL_Keycode keypad, cursor;
};
constexpr KeypadCursor kKeypadCursor[] = {
    {SDLK_KP_7, SDLK_HOME}, {SDLK_KP_8, SDLK_UP},       {SDLK_KP_9, SDLK_PAGEUP},
    {SDLK_KP_4, SDLK_LEFT}, {SDLK_KP_6, SDLK_RIGHT},    {SDLK_KP_1, SDLK_END},
    {SDLK_KP_2, SDLK_DOWN}, {SDLK_KP_3, SDLK_PAGEDOWN}, {SDLK_KP_0, SDLK_INSERT},
    {SDLK_KP_PERIOD, SDLK_DELETE},
};

// Keys that give a control character rather than an extended code.
struct ControlKey {
  SDL_Keycode sym;
  uint8_t plain, ctrl;
};
constexpr ControlKey kControlKeys[] = {
    {SDLK_RETURN, 13, 10}, {SDLK_BACKSPACE, 8, 127}, {SDLK_ESCAPE, 27, 27}, {SDLK_TAB, 9, 9},
};

std::optional<KeyEvent> extended_key(SDL_Keycode sym, uint16_t mod) {
  for (const ExtendedKey& key : kExtendedKeys) {
    if (key.sym != sym) continue;
    // The PC keyboard lets Alt win over Ctrl, and Ctrl over Shift.
    uint8_t code = key.plain;
    if (mod & KMOD_ALT) code = key.alt;
    else if (mod & KMOD_CTRL) code = key.ctrl;
    else if (mod & KMOD_SHIFT) code = key.shift;
    return KeyEvent{code, true};
  }
  return std::nullopt;
}

}  // namespace

std::optional<KeyEvent> key_for_keydown(int32_t sym, uint16_t mod) {
  if (!(mod & KMOD_NUM)) {
    for (const KeypadCursor& pair : kKeypadCursor) {
      if (pair.keypad == sym) return extended_key(pair.cursor, mod);
    }
  }
  if (auto key = extended_key(sym, mod)) return key;
  if (sym == SDLK_TAB && (mod & KMOD_SHIFT)) return KeyEvent{15, true};
  for (const ControlKey& key : kControlKeys) {
    if (key.sym == sym) return KeyEvent{(mod & KMOD_CTRL) ? key.ctrl : key.plain, false};
  }
  if ((mod & KMOD_CTRL) && !(mod & KMOD_ALT) && sym >= SDLK_a && sym <= SDLK_z) {
    return KeyEvent{static_cast<uint8_t>(sym - SDLK_a + 1), false};
  }
  return std::nullopt;
}

namespace {

// Decodes one UTF-8 sequence at `text`; sets `length` to the bytes it took (at least 1) and
// returns the character, or -1 for a malformed sequence.
int32_t decode_utf8(const unsigned char* text, int& length) {
  const unsigned char lead = text[0];
  int extra = 0;
  int32_t value = 0;
  if (lead < 0x80) { length = 1; return lead; }
  if ((lead & 0xE0) == 0xC0) { extra = 1; value = lead & 0x1F; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; value = lead & 0x0F; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; value = lead & 0x07; }
  else { length = 1; return -1; }
  for (int i = 1; i <= extra; ++i) {
    if ((text[i] & 0xC0) != 0x80) { length = i; return -1; }
    value = (value << 6) | (text[i] & 0x3F);
  }
  length = extra + 1;
  return value;
}

}  // namespace

void push_text_keys(const char* utf8) {
  const auto* text = reinterpret_cast<const unsigned char*>(utf8);
  while (*text != 0) {
    int length = 1;
    const int32_t character = decode_utf8(text, length);
    text += length;
    if (character < 0) continue;
    const int byte = unicode_to_cp852(static_cast<char32_t>(character));
    if (byte >= 0) push_key(KeyEvent{static_cast<uint8_t>(byte), false});
  }
}

// ---------------------------------------------------------------------------------------------
// The presenter: main-thread side

WindowPresenter::~WindowPresenter() {
  destroy_window();
  if (ready_) SDL_Quit();
}

bool WindowPresenter::init() {
  const char* prefix = "Cannot show the graphics window: no display is available";
  // The program installs its own signal handlers; SDL must leave SIGINT and SIGTERM alone.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // An ordinary desktop window: let the compositor treat it like any other.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
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
  wake_event_ = SDL_RegisterEvents(1);
  if (wake_event_ == static_cast<uint32_t>(-1)) {
    failure_ = "Cannot show the graphics window: SDL has no user event left.";
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
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeout)) {
      handle_event(event);
      while (SDL_PollEvent(&event)) handle_event(event);
    }
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
    case RequestKind::kOpen:
      request.ok = open_on_main_thread(request.width, request.height);
      break;
    case RequestKind::kClose:
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
  measure_surface(usable_w, usable_h, left + right, top + bottom, width_, height_);
  measured_ = true;
}

// Creates the window maximised over the usable desktop (measuring the surface size on the first
// call), with a streaming texture of the surface's size, and shows it black.
bool WindowPresenter::create_window() {
  SDL_Rect usable{0, 0, kMinSurfaceWidth, kMinSurfaceHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int request_w = measured_ ? width_ : usable.w;
  const int request_h = measured_ ? height_ : usable.h;
  window_ = SDL_CreateWindow(kWindowTitle, usable.x, usable.y, request_w, request_h,
                             SDL_WINDOW_RESIZABLE | SDL_WINDOW_MAXIMIZED);
  if (window_ == nullptr) {
    failure_ = std::string("Window creation failed: ") + SDL_GetError();
    return false;
  }
  if (!measured_) measure(usable.w, usable.h);
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ != nullptr) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                 SDL_TEXTUREACCESS_STREAMING, width_, height_);
  }
  if (texture_ == nullptr) {
    failure_ = std::string("Window creation failed: ") + SDL_GetError();
    return false;
  }
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);  // thin lines survive shrinking
  frame_period_ms_ = display_frame_period_ms(window_);
  frame_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  upload_frame(texture_, frame_.data(), width_, height_, colours_);
  present();
  SDL_StartTextInput();
  return true;
}

void WindowPresenter::destroy_window() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  needs_present_ = false;
}

void WindowPresenter::handle_event(const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    // The user closed the window: it goes, the program goes on drawing off-screen.
    destroy_window();
  } else if (event.type == SDL_WINDOWEVENT) {
    switch (event.window.event) {
      case SDL_WINDOWEVENT_CLOSE:
        destroy_window();
        break;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_RESTORED:
        needs_present_ = true;
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
  const std::optional<KeyEvent> key =
      key_for_keydown(event.key.keysym.sym, static_cast<uint16_t>(event.key.keysym.mod));
  suppress_text_ = key.has_value();
  if (key) push_key(*key);
}

void WindowPresenter::repaint() {
  if (window_ == nullptr) return;
  if (surface_changed.load(std::memory_order_acquire)) {
    // A closed or resized surface shows black until the new one is drawn.
    if (!copy_surface_pixels(frame_, width_, height_)) std::fill(frame_.begin(), frame_.end(), 0);
    upload_frame(texture_, frame_.data(), width_, height_, colours_);
    needs_present_ = true;
  }
  if (needs_present_) present();
}

void WindowPresenter::present() {
  int output_w = 0, output_h = 0;
  SDL_GetRendererOutputSize(renderer_, &output_w, &output_h);
  const Rect fit = fit_picture(width_, height_, output_w, output_h);
  const SDL_Rect target{fit.x, fit.y, fit.w, fit.h};
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  SDL_RenderPresent(renderer_);
  needs_present_ = false;
}


// ---------------------------------------------------------------------------------------------
// The presenter: logic-thread side

void WindowPresenter::submit(Request& request) {
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    if (stopped_) return;  // request.done stays false: refused
    queue_.push_back(&request);
  }
  // SDL_PushEvent may be called from any thread; it wakes the main thread's event wait.
  SDL_Event wake{};
  wake.type = wake_event_;
  SDL_PushEvent(&wake);
  std::unique_lock<std::mutex> lock(queue_mutex_);
  queue_done_.wait(lock, [&request] { return request.done; });
}

bool WindowPresenter::open_window(int& width, int& height) {
  if (!ready_) return false;
  Request request{RequestKind::kOpen};
  submit(request);
  if (!request.ok) return false;
  width = request.width;
  height = request.height;
  return true;
}

void WindowPresenter::close_window() {
  if (!ready_) return;
  Request request{RequestKind::kClose};
  submit(request);
}
