// The window's picture without a display: conversion from the mirror box by box, and showing on
// a window's surface at a whole multiple or shrunk (the placement rule itself is the core's:
// test_picture.cpp).
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <vector>

#include "services/desktop/window_picture.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/graphics/surface_mirror.h"
#include "services/program/host.h"

namespace {

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
TEST(WindowPicture, ChangedBoxesGiveTheSamePictureAsTheWholeFrame) {
  constexpr int kWidth = 16, kHeight = 8;
  HeadlessPresenter headless(kWidth, kHeight);
  const ScopedHost hosted([&headless](Host& record) { record.presenter = &headless; });
  for (const uint32_t format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888,
                                SDL_PIXELFORMAT_BGR888}) {
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    int16_t driver = 0, mode = 0;
    open_graphics(driver, mode, "");
    SurfaceMirror mirror;
    mirror.resize(kWidth, kHeight);
    mirror.update();
    WindowPicture by_changes, whole;
    ASSERT_TRUE(by_changes.create(format, kWidth, kHeight));
    ASSERT_TRUE(whole.create(format, kWidth, kHeight));
    SDL_Surface* windows[2];
    for (SDL_Surface*& window : windows) {
      window = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight + 4, 32, format);
      ASSERT_NE(window, nullptr) << SDL_GetError();
      EXPECT_TRUE(whole.show(window, nullptr).whole);  // black bars, black picture
    }
    const std::function<void()> steps[] = {
        [] { set_fill(FillPattern::Solid, 4); fill_bar(2, 1, 5, 3); },
        [] { draw_line(0, 7, 15, 0); },
        [] { set_fill(FillPattern::Solid, 200); fill_bar(12, 4, 14, 6); draw_text(0, 0, "\x01"); },
        [] { move_region(0, 0, 7, 7, 3, 1); },
        [] {
          set_viewport(2, 2, 6, 5, Clipping::On);
          clear_viewport();
          set_viewport(0, 0, 15, 7, Clipping::On);
        },
        [] { set_fill(FillPattern::Solid, 9); flood_fill(15, 7, 15); draw_arc(4, 4, 0, 360, 3); },
    };
    for (const auto& step : steps) {
      step();
      const MirrorChanges changes = mirror.update();
      ASSERT_FALSE(changes.all);
      by_changes.convert(mirror.pixels(), changes.boxes);
      whole.convert_all(current_surface().pixels());
      EXPECT_TRUE(pixels_of(by_changes.surface()) == pixels_of(whole.surface()));
      const WindowPicture::Update update = by_changes.show(windows[0], &changes.boxes);
      EXPECT_FALSE(update.whole);
      EXPECT_EQ(update.count, changes.boxes.box_count());
      whole.show(windows[1], nullptr);
      EXPECT_TRUE(pixels_of(windows[0]) == pixels_of(windows[1]));
    }
    // A pixel of the bar drawn first, in the palette's colour for the format.
    const uint32_t red = SDL_MapRGB(whole.surface()->format, 0xA8, 0, 0);
    EXPECT_EQ(pixels_of(windows[1])[(1 + 2) * kWidth + 2], red);
    for (SDL_Surface* window : windows) SDL_FreeSurface(window);
    close_graphics();
  }
}

// A window of another size: at the largest whole multiple that fits, centred on black (a change
// then copies its boxes enlarged); shrunk to fit when the window is smaller than the picture.
TEST(WindowPicture, WindowOfAnotherSizeShowsTheWholePictureAtAWholeMultipleOrShrunk) {
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

}  // namespace
