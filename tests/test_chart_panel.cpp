// Chart panel: geometry, frame and title, redraw, increments with rescaling, on a headless
// 640x480 surface set up like the run screen (centre / top text, solid lines 3 pixels thick).
#include "charts/chart_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "chart_surface.h"
#include "sim/run_state.h"

namespace {

constexpr int kWhite = 15;

class ChartPanelTest : public ChartSurfaceTest {
 protected:
  // The empirical panel of a 640x480 surface for n insects.
  static ChartPanel empirical(int n) {
    ChartPanel panel;
    panel_init(panel, 9, 359, 309, 459, "Empirikus eloszl\xA0s", n + 1, 5.0, kWhite);
    return panel;
  }
};

// The first white row of column x from the plot top down to y2, or -1 when there is none.
int column_top(const ChartPanel& panel, int x) {
  for (int y = panel.y1 + 18; y <= panel.y2; ++y) {
    if (get_pixel(x, y) == kWhite) return y;
  }
  return -1;
}

TEST_F(ChartPanelTest, FrameIsThreePixelsWideAndTitleIsCentredAndCutTo32Bytes) {
  ChartPanel panel = empirical(5);
  panel_init(panel, 9, 359, 309, 459, std::string(40, 'H'), 6, 5.0, kWhite);
  ASSERT_EQ(panel.title, std::string(32, 'H'));
  panel_draw_frame(panel);
  for (int x : {8, 9, 10, 308, 309, 310}) EXPECT_EQ(get_pixel(x, 400), kWhite) << x;
  for (int y : {358, 359, 360, 458, 459, 460}) EXPECT_EQ(get_pixel(150, y), kWhite) << y;
  EXPECT_EQ(get_pixel(11, 400), 0);
  // 32 glyphs are 256 pixels wide: columns 159 - 128 = 31 .. 286, rows 367 .. 374. A title of
  // 40 glyphs would start left of the surface and not be drawn at all.
  int inside = 0, outside = 0;
  for (int y = 361; y <= 376; ++y) {
    for (int x = 11; x <= 307; ++x) {
      if (get_pixel(x, y) != kWhite) continue;
      (x >= 31 && x <= 286 && y >= 367 && y <= 374 ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);
}

// The plot area is cleared down to y2 - 2; the title band and the frame line keep their pixels;
// a fresh panel's bars are single rows on y2 from x1 + 2 to x1 + 6*50 + 1.
TEST_F(ChartPanelTest, FreshPanelRedrawClearsThePlotAreaAndDrawsOneRowBars) {
  set_fill(FillPattern::Solid, kWhite);
  fill_bar(0, 0, 639, 457);
  ChartPanel panel = empirical(5);
  panel_redraw(panel);
  for (int y = 377; y <= 457; ++y) {
    for (int x = 11; x <= 307; ++x) ASSERT_EQ(get_pixel(x, y), 0) << x << "," << y;
  }
  EXPECT_EQ(get_pixel(150, 376), kWhite);  // title band
  EXPECT_EQ(get_pixel(10, 400), kWhite);   // inner column of the left frame line
  EXPECT_EQ(get_pixel(308, 400), kWhite);  // inner column of the right frame line
  for (int x = 11; x <= 310; ++x) {
    EXPECT_EQ(get_pixel(x, 459), kWhite) << x;
    EXPECT_EQ(get_pixel(x, 458), 0) << x;
  }
  EXPECT_EQ(get_pixel(10, 459), 0);
  EXPECT_EQ(get_pixel(311, 459), 0);
}

TEST_F(ChartPanelTest, RedrawOfPanelWithoutBarsOnlyClears) {
  ChartPanel panel = empirical(5);
  panel.bar_count = 0;
  panel_redraw(panel);
  EXPECT_EQ(get_pixel(11, 459), 0);
}

TEST_F(ChartPanelTest, SixteenthCountReachesY2Minus80AndSeventeenthHalvesTheScale) {
  ChartPanel panel = empirical(5);
  panel_redraw(panel);
  for (int i = 0; i < 16; ++i) panel_increment(2, panel, TurnDrawing::Draw);
  EXPECT_EQ(panel.scale, 5.0);
  EXPECT_EQ(column_top(panel, 111), 379);
  EXPECT_EQ(column_top(panel, 160), 379);
  panel_increment(2, panel, TurnDrawing::Draw);
  EXPECT_EQ(panel.scale, 2.5);
  EXPECT_EQ(column_top(panel, 111), 416);  // trunc(459 - 42.5)
  EXPECT_EQ(column_top(panel, 11), 459);
}

TEST_F(ChartPanelTest, ProductEqualToPlotHeightHalvesAndJustBelowDrawsTheBar) {
  ChartPanel below = empirical(5);
  below.scale = 40.5;
  panel_increment(0, below, TurnDrawing::Draw);
  panel_increment(0, below, TurnDrawing::Draw);  // 81 < 82
  EXPECT_EQ(below.scale, 40.5);
  EXPECT_EQ(column_top(below, 11), 378);

  ChartPanel equal = empirical(5);
  equal.scale = 41.0;
  panel_increment(0, equal, TurnDrawing::Draw);
  panel_increment(0, equal, TurnDrawing::Draw);  // 82 = 82
  EXPECT_EQ(equal.scale, 20.5);
  EXPECT_EQ(column_top(equal, 61), 459);  // the redraw drew the other bars
}

// An increment decides a halving by comparing the value with the least one whose bar reaches the
// title band; that must give the extended product's answer for every int64_t value. The values
// reaching the band form a tail of the range (checked at every power of two and its neighbours),
// and the tail begins at the halving value (checked on both sides of it), for the scales a run
// halves through, scales that are not powers of two, and plot heights from one row to the
// largest surface's.
TEST(ChartPanelHalving, HalvingValueGivesTheExtendedProductsAnswerForEveryValue) {
  std::vector<double> scales = {0.0, 40.5, 41.0, 190.0 / 140, 0.1, 3.0e-18, 7.0e12};
  for (int halvings = 0; halvings <= 64; ++halvings) scales.push_back(std::ldexp(5.0, -halvings));
  for (const int height : {1, 82, 189, 1000, 32000}) {
    for (const double scale : scales) {
      SCOPED_TRACE(::testing::Message() << "plot height " << height << ", scale " << scale);
      ChartPanel panel;
      panel_init(panel, 0, 0, 100, static_cast<uint16_t>(height + text_height(" ") + 10), "", 1,
                 scale, kWhite);
      ASSERT_EQ(panel_plot_height(panel), height);
      const uint64_t first = panel_halving_value(panel);
      std::vector<int64_t> values = {0, INT64_MAX - 1, INT64_MAX};
      for (int bit = 0; bit < 63; ++bit) {
        const int64_t power = int64_t{1} << bit;
        values.insert(values.end(), {power - 1, power, power + 1});
      }
      if (first != kNoHalving) {
        for (int64_t d = -3; d <= 3; ++d) {
          const int64_t v = static_cast<int64_t>(first) + d;
          if (v >= 0 && (d <= 0 || v > static_cast<int64_t>(first))) values.push_back(v);
        }
      }
      for (const int64_t v : values) {
        ASSERT_EQ(static_cast<uint64_t>(v) >= first, panel_bar_reaches_band(panel, v)) << v;
      }
    }
  }
}

// The halving value follows the scale and the frame, however they are changed.
TEST(ChartPanelHalving, HalvingValueFollowsTheScaleAndTheFrame) {
  ChartPanel panel;
  panel_init(panel, 9, 359, 309, 459, "", 6, 5.0, kWhite);
  EXPECT_EQ(panel_halving_value(panel), 17u);  // 17 * 5 = 85 >= 82 > 16 * 5
  panel.scale = 2.5;
  EXPECT_EQ(panel_halving_value(panel), 33u);
  panel.y1 = 259;
  EXPECT_EQ(panel_halving_value(panel), 73u);  // 73 * 2.5 = 182.5 >= 182 > 72 * 2.5
}

TEST_F(ChartPanelTest, QuietIncrementsDrawNothingUntilTheHalvingRedraws) {
  ChartPanel panel = empirical(5);
  for (int i = 0; i < 16; ++i) panel_increment(2, panel, TurnDrawing::CountOnly);
  EXPECT_EQ(panel.values[2], 16);
  EXPECT_EQ(column_top(panel, 111), -1);
  panel_increment(2, panel, TurnDrawing::CountOnly);
  EXPECT_EQ(panel.scale, 2.5);
  EXPECT_EQ(column_top(panel, 111), 416);
  EXPECT_EQ(column_top(panel, 11), 459);
}

// A drawn increment grows a bar by its new rows only; after any run of increments, halvings
// among them, on a framed panel, the plot area (row y2 included) is what a full redraw gives.
// Scales that add no row, one row and several rows per count, and bars as narrow as 2 pixels.
TEST_F(ChartPanelTest, DrawnIncrementsLeaveThePanelAsAFullRedrawDoes) {
  for (const double scale : {5.0, 1.0, 0.3, 190.0 / 140}) {
    for (const int n : {5, 140}) {
      SCOPED_TRACE(::testing::Message() << "scale " << scale << ", " << n << " insects");
      ChartPanel panel = empirical(n);
      panel.scale = scale;
      set_fill(FillPattern::Empty, 0);
      fill_bar(0, 0, 639, 479);
      panel_draw_frame(panel);
      uint32_t seed = 12345;
      const auto plot = [&panel] {
        std::vector<uint8_t> pixels;
        for (int y = panel_plot_top(panel); y <= panel.y2; ++y) {
          for (int x = panel.x1 + 2; x <= panel.x2 - 2; ++x) pixels.push_back(get_pixel(x, y));
        }
        return pixels;
      };
      for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Counts gather about the middle bar, as a run's do.
        const int index = std::clamp(n / 2 + static_cast<int>((seed >> 16) % 9) - 4, 0, n);
        panel_increment(static_cast<uint16_t>(index), panel, TurnDrawing::Draw);
        if (i % 500 != 499) continue;
        const std::vector<uint8_t> grown = plot();
        panel_redraw(panel);
        ASSERT_EQ(grown, plot()) << "after " << i + 1 << " increments";
      }
      EXPECT_LT(panel.scale, scale);  // the runs above halved
    }
  }
}

TEST_F(ChartPanelTest, MaxValueLooksOnlyAtBarsInUse) {
  ChartPanel panel = empirical(5);
  EXPECT_EQ(panel_max_value(panel), 0.0);
  panel.values[5] = 7;
  panel.values[6] = 99;  // beyond bar_count
  EXPECT_EQ(panel_max_value(panel), 7.0);
  panel.values[0] = 4;
  panel.bar_count = 1;
  EXPECT_EQ(panel_max_value(panel), 4.0);
}

TEST_F(ChartPanelTest, BarWidthIsPanelWidthDividedByBarCount) {
  struct Case {
    int n, index, left, right;
  };
  // 300 div 141 = 2 and 300 div 6 = 50; bar i starts at x1 + w*i + 2.
  for (const Case c : {Case{140, 70, 151, 152}, Case{5, 2, 111, 160}, Case{6, 6, 263, 304},
                       Case{5, 5, 261, 310}}) {
    ChartPanel panel = empirical(c.n);
    set_fill(FillPattern::Empty, 0);
    fill_bar(0, 0, 639, 479);
    panel_increment(static_cast<uint16_t>(c.index), panel, TurnDrawing::Draw);
    EXPECT_EQ(get_pixel(c.left - 1, 454), 0) << c.n;
    EXPECT_EQ(get_pixel(c.left, 454), kWhite) << c.n;
    EXPECT_EQ(get_pixel(c.right, 454), kWhite) << c.n;
    EXPECT_EQ(get_pixel(c.right + 1, 454), 0) << c.n;
  }
}

}  // namespace
