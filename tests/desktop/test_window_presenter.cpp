// The window presenter's parts that need no display: the locked copy, key translation and the
// no-display answer (the picture's size, placement and colours are the core's: test_picture.cpp).
// The window itself is tested on a virtual X server by tests/e2e/test_window_xvfb.sh.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/console/keyboard.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/host.h"
#include "services/desktop/window_keys.h"
#include "services/desktop/window_presenter.h"

namespace {

// A small surface opened through the headless presenter, as the programs' tests do.
class WindowPresenterCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    int16_t driver = 0, mode = 0;
    open_graphics(driver, mode, "");
    set_fill(FillPattern::Solid, 4);
    fill_bar(2, 1, 5, 3);
  }
  void TearDown() override { close_graphics(); }
  HeadlessPresenter headless_{16, 8};
  const ScopedHost hosted_{[this](Host& record) { record.presenter = &headless_; }};
};

TEST_F(WindowPresenterCopy, CopiesTheWholeSurfaceAndClearsTheChangeFlag) {
  std::vector<uint8_t> frame(16 * 8, 99);
  ASSERT_TRUE(surface_changed.load());
  ASSERT_TRUE(copy_surface_pixels(frame, 16, 8));
  EXPECT_FALSE(surface_changed.load());
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool in_bar = x >= 2 && x <= 5 && y >= 1 && y <= 3;
      EXPECT_EQ(frame[y * 16 + x], in_bar ? 4 : 0) << x << "," << y;
    }
  }
}

TEST_F(WindowPresenterCopy, SurfaceOfAnotherSizeOrClosedIsNotCopied) {
  std::vector<uint8_t> frame(20 * 8, 99);
  EXPECT_FALSE(copy_surface_pixels(frame, 20, 8));
  EXPECT_EQ(frame[0], 99);
  close_graphics();
  EXPECT_FALSE(copy_surface_pixels(frame, 16, 8));
  EXPECT_EQ(frame[0], 99);
}

TEST_F(WindowPresenterCopy, CopyWaitsForTheDrawingInProgress) {
  std::vector<uint8_t> frame(16 * 8);
  std::atomic<bool> copied{false};
  std::unique_lock<std::mutex> drawing(drawing_lock());
  std::thread repaint([&] {
    copy_surface_pixels(frame, 16, 8);
    copied = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(copied.load());
  drawing.unlock();
  repaint.join();
  EXPECT_TRUE(copied.load());
}

// The status box of a turn is drawn in one batch: a repaint shows it whole or not at all, never
// cleared without its number.
TEST_F(WindowPresenterCopy, CopyWaitsForTheBatchToEnd) {
  std::vector<uint8_t> frame(16 * 8);
  ChangedRegion changed;
  copy_changed_pixels(frame, 16, 8, changed);
  std::atomic<bool> copied{false};
  std::thread repaint;
  {
    const DrawingBatch batch;
    set_fill(FillPattern::Empty, 0);
    fill_bar(0, 0, 15, 7);
    repaint = std::thread([&] {
      copy_changed_pixels(frame, 16, 8, changed);
      copied = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(copied.load());
    set_fill(FillPattern::Solid, 2);
    fill_bar(9, 0, 15, 7);
  }
  repaint.join();
  for (int x = 0; x < 16; ++x) EXPECT_EQ(frame[3 * 16 + x], x >= 9 ? 2 : 0) << x;
}

// The 32-bit pixels of an SDL surface, row by row.
std::vector<uint32_t> pixels_of(const SDL_Surface* surface) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < surface->h; ++y) {
    const auto* bytes = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    const auto* row = reinterpret_cast<const uint32_t*>(bytes);
    pixels.insert(pixels.end(), row, row + surface->w);
  }
  return pixels;
}

// The repaint's steps without a display, in the 32-bit formats X servers give windows: after
// each step of drawing, the picture fed only the changed boxes equals the picture converted
// whole, and a window taller than the picture (which shows it at its own size between bars)
// ends up alike whether it was given the changed boxes or everything.
TEST_F(WindowPresenterCopy, ChangedBoxesGiveTheSamePictureAsTheWholeFrame) {
  constexpr int kWidth = 16, kHeight = 8;
  for (const uint32_t format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888,
                                SDL_PIXELFORMAT_BGR888}) {
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    int16_t driver = 0, mode = 0;
    open_graphics(driver, mode, "");
    WindowPicture by_changes, whole;
    ASSERT_TRUE(by_changes.create(format, kWidth, kHeight));
    ASSERT_TRUE(whole.create(format, kWidth, kHeight));
    SDL_Surface* windows[2];
    for (SDL_Surface*& window : windows) {
      window = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight + 4, 32, format);
      ASSERT_NE(window, nullptr) << SDL_GetError();
      EXPECT_TRUE(whole.show(window, nullptr).whole);  // black bars, black picture
    }
    std::vector<uint8_t> changed_frame(kWidth * kHeight), whole_frame(kWidth * kHeight);
    const std::function<void()> steps[] = {
        [] { set_fill(FillPattern::Solid, 4); fill_bar(2, 1, 5, 3); },
        [] { draw_line(0, 7, 15, 0); },
        [] { set_fill(FillPattern::Solid, 200); fill_bar(12, 4, 14, 6); draw_text(0, 0, "\x01"); },
        [] { move_region(0, 0, 7, 7, 3, 1); },
        [] { set_viewport(2, 2, 6, 5, Clipping::On); clear_viewport(); set_viewport(0, 0, 15, 7, Clipping::On); },
        [] { set_fill(FillPattern::Solid, 9); flood_fill(15, 7, 15); draw_arc(4, 4, 0, 360, 3); },
    };
    for (const auto& step : steps) {
      step();
      ChangedRegion changed;
      ASSERT_TRUE(copy_changed_pixels(changed_frame, kWidth, kHeight, changed));
      by_changes.convert(changed_frame.data(), changed);
      ASSERT_TRUE(copy_surface_pixels(whole_frame, kWidth, kHeight));
      whole.convert_all(whole_frame.data());
      EXPECT_TRUE(changed_frame == whole_frame);
      EXPECT_TRUE(pixels_of(by_changes.surface()) == pixels_of(whole.surface()));
      const WindowPicture::Update update = by_changes.show(windows[0], &changed);
      EXPECT_FALSE(update.whole);
      EXPECT_EQ(update.count, changed.size());
      whole.show(windows[1], nullptr);
      EXPECT_TRUE(pixels_of(windows[0]) == pixels_of(windows[1]));
    }
    // A pixel of the bar drawn first, in the palette's colour for the format.
    const uint32_t red = SDL_MapRGB(whole.surface()->format, 0xA8, 0, 0);
    EXPECT_EQ(pixels_of(windows[1])[(1 + 2) * kWidth + 2], red);
    for (SDL_Surface* window : windows) SDL_FreeSurface(window);
  }
}

// A window of another size than the surface shows the whole picture scaled to fit, between black
// bars, whatever changed.
// A window of another size: at the largest whole multiple that fits, centred on black (a change
// then copies its boxes enlarged); shrunk to fit when the window is smaller than the picture.
TEST(WindowPresenter, WindowOfAnotherSizeShowsTheWholePictureAtAWholeMultipleOrShrunk) {
  WindowPicture picture;
  ASSERT_TRUE(picture.create(SDL_PIXELFORMAT_RGB888, 16, 8));
  std::vector<uint8_t> frame(16 * 8, 15);
  frame[0] = 4;  // one red pixel at the top left
  picture.convert_all(frame.data());
  const struct {
    int w, h;
    Rect placed;  // where the white picture lands
    int multiple;
  } cases[] = {{20, 20, {2, 6, 16, 8}, 1}, {40, 20, {4, 2, 32, 16}, 2}, {12, 12, {0, 3, 12, 6}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.w);
    SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, c.w, c.h, 32, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(window, nullptr);
    SDL_FillRect(window, nullptr, 0x123456);
    EXPECT_TRUE(picture.show(window, nullptr).whole);
    const std::vector<uint32_t> shown = pixels_of(window);
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        const bool inside = x >= c.placed.x && x < c.placed.x + c.placed.w && y >= c.placed.y &&
                            y < c.placed.y + c.placed.h;
        const uint32_t colour = shown[y * c.w + x] & 0xFFFFFF;
        if (!inside) {
          ASSERT_EQ(colour, 0x000000u) << x << "," << y;
        } else if (c.multiple >= 1) {  // crisp: the red pixel is a multiple x multiple block
          const bool red = x - c.placed.x < c.multiple && y - c.placed.y < c.multiple;
          ASSERT_EQ(colour, red ? 0xA80000u : 0xFCFCFCu) << x << "," << y;
        }
      }
    }
    if (c.multiple == 2) {  // a change copies its box enlarged, and says where
      ChangedRegion changed;
      changed.add(SurfaceBox{3, 2, 4, 2});
      const WindowPicture::Update update = picture.show(window, &changed);
      EXPECT_FALSE(update.whole);
      ASSERT_EQ(update.count, 1);
      EXPECT_EQ(update.rects[0].x, 4 + 6);
      EXPECT_EQ(update.rects[0].y, 2 + 4);
      EXPECT_EQ(update.rects[0].w, 4);
      EXPECT_EQ(update.rects[0].h, 2);
    }
    SDL_FreeSurface(window);
  }
}

TEST(WindowPresenter, KeyDownTranslation) {
  struct Case {
    SDL_Keycode sym;
    uint16_t mod;
    bool produces;
    uint8_t code;
    bool extended;
  };
  const uint16_t none = KMOD_NONE, num = KMOD_NUM;
  const Case cases[] = {
      {SDLK_RETURN, none, true, 13, false},    {SDLK_KP_ENTER, num, true, 28, true},
      {SDLK_BACKSPACE, none, true, 8, false},  {SDLK_ESCAPE, none, true, 27, false},
      {SDLK_TAB, none, true, 9, false},        {SDLK_TAB, KMOD_LSHIFT, true, 15, true},
      {SDLK_UP, none, true, 72, true},         {SDLK_DOWN, none, true, 80, true},
      {SDLK_LEFT, none, true, 75, true},       {SDLK_RIGHT, none, true, 77, true},
      {SDLK_HOME, none, true, 71, true},       {SDLK_END, none, true, 79, true},
      {SDLK_PAGEUP, none, true, 73, true},     {SDLK_PAGEDOWN, none, true, 81, true},
      {SDLK_INSERT, none, true, 82, true},     {SDLK_DELETE, none, true, 83, true},
      {SDLK_F1, none, true, 59, true},         {SDLK_F10, none, true, 68, true},
      {SDLK_F11, none, true, 133, true},       {SDLK_F12, none, true, 134, true},
      {SDLK_F1, KMOD_LSHIFT, true, 84, true},  {SDLK_F1, KMOD_RCTRL, true, 94, true},
      {SDLK_F12, KMOD_LALT, true, 140, true},  {SDLK_LEFT, KMOD_LCTRL, true, 115, true},
      {SDLK_KP_DIVIDE, num, true, 53, true},   {SDLK_KP_8, none, true, 72, true},
      {SDLK_KP_PERIOD, none, true, 83, true},  {SDLK_KP_8, num, false, 0, false},
      {SDLK_a, none, false, 0, false},         {SDLK_a, KMOD_LSHIFT, false, 0, false},
      {SDLK_a, KMOD_LCTRL, true, 1, false},    {SDLK_z, KMOD_RCTRL, true, 26, false},
      {SDLK_v, KMOD_LCTRL | KMOD_LALT, false, 0, false},
      {SDLK_LSHIFT, KMOD_LSHIFT, false, 0, false}, {SDLK_LCTRL, KMOD_LCTRL, false, 0, false},
      // Alt with a character key gives the extended key the terminal gives (Alt+letter used to
      // arrive as the plain letter).
      {SDLK_n, KMOD_LALT, true, 49, true},     {SDLK_v, KMOD_RALT, true, 47, true},
      {SDLK_q, KMOD_LALT | KMOD_LSHIFT, true, 16, true}, {SDLK_1, KMOD_LALT, true, 120, true},
      {SDLK_EQUALS, KMOD_LALT, true, 131, true}, {SDLK_PERIOD, KMOD_LALT, false, 0, false},
  };
  for (const Case& c : cases) {
    const std::optional<KeyEvent> key = key_for_keydown(c.sym, c.mod);
    ASSERT_EQ(key.has_value(), c.produces) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    if (!key) continue;
    EXPECT_EQ(key->code, c.code) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    EXPECT_EQ(key->extended, c.extended) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
  }
}

TEST(WindowPresenter, TextInputBecomesCodePage852Keys) {
  reset_keyboard();
  // "Aő" then the euro sign, which the code page lacks, a cut-off sequence, then "é" and "z".
  push_text_keys("A\xC5\x91\xE2\x82\xAC\xC3z\xC3\xA9" "z");
  std::string keys;
  while (key_pressed()) keys += static_cast<char>(read_key());
  EXPECT_EQ(keys, std::string("A\x8B" "z\x82" "z"));
  reset_keyboard();
}

// Runs `test` with SDL_VIDEODRIVER set to `driver`, restoring the variable afterwards.
template <typename Test>
void with_video_driver(const char* driver, Test&& test) {
  const char* old = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_VIDEODRIVER", driver, 1);
  test();
  if (old) setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  else unsetenv("SDL_VIDEODRIVER");
}

TEST(WindowPresenter, DriversThatShowNothingCountAsNoDisplay) {
  for (const char* driver : {"offscreen", "dummy", "no-such-driver"}) {
    with_video_driver(driver, [driver] {
      WindowPresenter presenter;
      EXPECT_FALSE(presenter.init()) << driver;
      EXPECT_NE(presenter.failure().find("no display is available"), std::string::npos)
          << presenter.failure();
      int w = 0, h = 0;
      EXPECT_FALSE(presenter.open_window(w, h));
      presenter.close_window();  // nothing to close, and no main thread to wait for
      std::atomic<bool> done{true};
      presenter.run(done);  // returns at once
    });
  }
}

}  // namespace

// Ctrl-C typed in the window used to make a step; it ends the program as in the terminal.
TEST(WindowPresenter, CtrlCInTheWindowInterruptsInsteadOfTypingAKey) {
  EXPECT_TRUE(is_interrupt_keydown(SDLK_c, KMOD_LCTRL));
  EXPECT_TRUE(is_interrupt_keydown(SDLK_c, KMOD_RCTRL | KMOD_LSHIFT));
  EXPECT_FALSE(is_interrupt_keydown(SDLK_c, KMOD_NONE));
  EXPECT_FALSE(is_interrupt_keydown(SDLK_c, KMOD_LCTRL | KMOD_LALT));
  EXPECT_FALSE(is_interrupt_keydown(SDLK_d, KMOD_LCTRL));
  int interrupts = 0;
  {
    const ScopedHost hosted([&interrupts](Host& record) {
      record.interrupt = [&interrupts] { ++interrupts; };
    });
    EXPECT_TRUE(interrupt_program());
    EXPECT_EQ(interrupts, 1);
  }
  EXPECT_FALSE(interrupt_program());
}

