// The window presenter's parts that need no display: key translation and the no-display answer
// (the mirror of the surface is the core's: test_surface_mirror.cpp; the picture's steps:
// test_window_picture.cpp). The window itself is tested on a virtual X server by
// tests/e2e/test_window_xvfb.sh.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "services/console/keyboard.h"
#include "services/desktop/window_keys.h"
#include "services/desktop/window_presenter.h"
#include "services/program/host.h"

namespace {

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
      // With several modifiers held Alt wins over Ctrl, and Ctrl over Shift.
      {SDLK_LEFT, KMOD_LCTRL | KMOD_LALT, true, 155, true},
      {SDLK_F1, KMOD_LCTRL | KMOD_LSHIFT, true, 94, true},
      {SDLK_RETURN, KMOD_LCTRL, true, 10, false},  {SDLK_BACKSPACE, KMOD_LCTRL, true, 127, false},
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

