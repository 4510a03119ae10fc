// The rules both editions show the surface by: its size, its placement and its colours.
#include <gtest/gtest.h>

#include "services/graphics/picture.h"
#include "services/graphics/surface.h"

namespace {

TEST(Picture, ColourTableIsThePaletteOpaque) {
  const ColourTable table = make_colour_table(kArgb);
  EXPECT_EQ(table.pixel[0], 0xFF000000u);
  EXPECT_EQ(table.pixel[2], 0xFF00A800u);
  EXPECT_EQ(table.pixel[4], 0xFFA80000u);
  EXPECT_EQ(table.pixel[8], 0xFF545454u);
  EXPECT_EQ(table.pixel[15], 0xFFFCFCFCu);
  EXPECT_EQ(table.pixel[255], 0xFF000000u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(table.pixel[i], 0xFF000000u | kPalette[i]) << i;

  const uint8_t indices[] = {15, 0, 4, 255};
  uint32_t argb[4] = {};
  convert_pixels(indices, 4, table, argb);
  EXPECT_EQ(argb[0], 0xFFFCFCFCu);
  EXPECT_EQ(argb[1], 0xFF000000u);
  EXPECT_EQ(argb[2], 0xFFA80000u);
  EXPECT_EQ(argb[3], 0xFF000000u);
}

TEST(Picture, PictureFitsKeepingItsProportions) {
  struct Case {
    int pw, ph, ow, oh;
    Rect expected;
  };
  const Case cases[] = {
      {640, 480, 640, 480, {0, 0, 640, 480}},      // same size: one to one
      {640, 480, 400, 400, {0, 50, 400, 300}},     // narrow window: bars above and below
      {640, 480, 640, 200, {187, 0, 266, 200}},    // wide window: bars left and right
      {1920, 1017, 960, 600, {0, 46, 960, 508}},   // half size, height truncated
      {640, 480, 1280, 960, {0, 0, 1280, 960}},    // enlarged
      {640, 480, 0, 0, {0, 0, 0, 0}},              // minimised: nothing to draw
  };
  for (const Case& c : cases) {
    const Rect r = fit_picture(c.pw, c.ph, c.ow, c.oh);
    EXPECT_EQ(r.x, c.expected.x) << c.ow << "x" << c.oh;
    EXPECT_EQ(r.y, c.expected.y) << c.ow << "x" << c.oh;
    EXPECT_EQ(r.w, c.expected.w) << c.ow << "x" << c.oh;
    EXPECT_EQ(r.h, c.expected.h) << c.ow << "x" << c.oh;
  }
}

TEST(Picture, SurfaceIsTheUsableAreaLessTheFrameAndAtLeast640x480) {
  int w = 0, h = 0;
  measure_surface(1920, 1040, 0, 23, 1, w, h);  // a taskbar and a title bar
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1017);
  measure_surface(640, 480, 0, 0, 1, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  measure_surface(800, 500, 10, 40, 1, w, h);
  EXPECT_EQ(w, 790);
  EXPECT_EQ(h, 480);
  measure_surface(320, 200, 0, 0, 1, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
}

TEST(Picture, ZoomDividesTheUsableAreaAndKeeps640x480) {
  int w = 0, h = 0;
  measure_surface(1920, 1017, 0, 0, 2, w, h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 508);
  measure_surface(1920, 1040, 0, 23, 3, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);  // 1017 / 3 = 339 rows would be too few
  EXPECT_DOUBLE_EQ(largest_zoom(1920, 1017), 1017 / 480.0);
  EXPECT_DOUBLE_EQ(largest_zoom(3840, 2160), 4.5);
  EXPECT_LT(largest_zoom(1280, 959), 2);
  EXPECT_LT(largest_zoom(639, 480), 1);
}

// The usual laptop and projector sizes, where a whole zoom of 2 does not fit.
TEST(Picture, FractionalZoomsDivideTheAreaToWholePixelsAndTheLargestKeeps640x480) {
  struct Case {
    int usable_w, usable_h;
    double zoom;
    int w, h;
  };
  const Case cases[] = {
      {1366, 768, 1.5, 910, 512},
      {1366, 768, largest_zoom(1366, 768), 853, 480},
      {1280, 800, largest_zoom(1280, 800), 768, 480},
      {1024, 768, largest_zoom(1024, 768), 640, 480},
      {1600, 900, 1.25, 1280, 720},
  };
  for (const Case& c : cases) {
    int w = 0, h = 0;
    measure_surface(c.usable_w, c.usable_h, 0, 0, c.zoom, w, h);
    EXPECT_EQ(w, c.w) << c.usable_w << "x" << c.usable_h << " at " << c.zoom;
    EXPECT_EQ(h, c.h) << c.usable_w << "x" << c.usable_h << " at " << c.zoom;
  }
  EXPECT_TRUE(whole_zoom(2));
  EXPECT_FALSE(whole_zoom(largest_zoom(1366, 768)));
}

TEST(Picture, AFilledSpaceTakesThePictureSmoothedByAnyFraction) {
  const Placement filled = place_picture(853, 480, 1366, 768, PictureScaling::Fill);
  EXPECT_FALSE(filled.whole_multiple);
  EXPECT_EQ(filled.target.h, 768);
  EXPECT_EQ(filled.target.w, 1364);
  EXPECT_EQ(filled.target.x, 1);
  const Placement crisp = place_picture(853, 480, 1366, 768);  // the same at a whole zoom
  EXPECT_TRUE(crisp.whole_multiple);
  EXPECT_EQ(crisp.target.w, 853);
}

TEST(Picture, PictureIsShownAtTheLargestWholeMultipleThatFits) {
  struct Case {
    int pw, ph, ow, oh;
    Rect expected;
    bool whole;
  };
  const Case cases[] = {
      {640, 480, 640, 480, {0, 0, 640, 480}, true},        // same size
      {960, 508, 1920, 1017, {0, 0, 1920, 1016}, true},    // zoom 2 in its maximised window
      {640, 480, 1000, 1000, {180, 260, 640, 480}, true},  // 1.5 times is shown at 1, centred
      {640, 480, 1300, 980, {10, 10, 1280, 960}, true},    // twice, centred
      {640, 480, 400, 400, {0, 50, 400, 300}, false},      // smaller window: shrunk to fit
      {640, 480, 0, 0, {0, 0, 0, 0}, false},               // minimised: nothing to draw
  };
  for (const Case& c : cases) {
    const Placement p = place_picture(c.pw, c.ph, c.ow, c.oh);
    EXPECT_EQ(p.whole_multiple, c.whole) << c.ow << "x" << c.oh;
    EXPECT_EQ(p.target.x, c.expected.x) << c.ow << "x" << c.oh;
    EXPECT_EQ(p.target.y, c.expected.y) << c.ow << "x" << c.oh;
    EXPECT_EQ(p.target.w, c.expected.w) << c.ow << "x" << c.oh;
    EXPECT_EQ(p.target.h, c.expected.h) << c.ow << "x" << c.oh;
  }
}

}  // namespace
