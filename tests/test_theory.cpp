// Theoretical distribution bars and the distance between two distributions.
#include "charts/theory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "chart_surface.h"
#include "sim/run_state.h"

namespace {

class TheoryTest : public ChartSurfaceTest {
 protected:
  // The theoretical panel of a 640x480 surface for n insects, plot height 82.
  static ChartPanel theory_panel(int n) {
    ChartPanel panel;
    panel_init(panel, 9, 249, 309, 349, "Elm\x82leti eloszl\xA0s", n + 1, 5.0, 15);
    return panel;
  }
};

std::vector<int64_t> bars_of(const ChartPanel& panel) {
  return {panel.values.begin(), panel.values.begin() + panel.bar_count};
}

TEST_F(TheoryTest, BarsAreCoefficientsScaledToTheCentralBar) {
  ChartPanel five = theory_panel(5);
  theory_fill(five);
  EXPECT_EQ(bars_of(five), (std::vector<int64_t>{8, 41, 82, 82, 41, 8}));
  EXPECT_EQ(five.scale, 1.0);
  ChartPanel six = theory_panel(6);
  theory_fill(six);
  EXPECT_EQ(bars_of(six), (std::vector<int64_t>{4, 24, 61, 82, 61, 24, 4}));
}

TEST_F(TheoryTest, OnlyTheCentralBarsOf140InsectsAreVisible) {
  ChartPanel panel = theory_panel(140);
  theory_fill(panel);
  for (int i = 0; i <= 140; ++i) {
    EXPECT_EQ(panel.values[i] >= 1, i >= 53 && i <= 87) << i;
  }
  EXPECT_EQ(panel.values[53], 1);
  EXPECT_EQ(panel.values[87], 1);
  EXPECT_EQ(panel.values[70], 82);
}

TEST_F(TheoryTest, FillRedrawsEvenWhenQuietWithTheCentralBarAtThePlotTop) {
  ChartPanel panel = theory_panel(5);
  theory_fill(panel);
  // Bar 2 covers columns 111..160; the plot top is 249 + 8 + 10 = 267.
  EXPECT_EQ(get_pixel(111, 267), 15);
  EXPECT_EQ(get_pixel(111, 266), 0);
  EXPECT_EQ(get_pixel(11, 341), 15);  // bar 0: 8 rows above 349
  EXPECT_EQ(get_pixel(11, 340), 0);
}

TEST_F(TheoryTest, DistanceComparesShapesNotTotals) {
  ChartPanel theory = theory_panel(5);
  theory_fill(theory);
  EXPECT_EQ(panel_distance(theory, theory), 0.0);

  ChartPanel doubled = theory_panel(5);
  for (int i = 0; i < 6; ++i) doubled.values[i] = 2 * theory.values[i];
  EXPECT_EQ(panel_distance(doubled, theory), 0.0);

  ChartPanel zero = theory_panel(5), single = theory_panel(5);
  single.values[3] = 17;
  EXPECT_EQ(panel_distance(zero, single), 1.0);
  EXPECT_EQ(panel_distance(single, zero), 1.0);

  ChartPanel left = theory_panel(1), right = theory_panel(1);
  left.values[0] = 3;
  right.values[1] = 5;
  EXPECT_DOUBLE_EQ(panel_distance(left, right), std::sqrt(2.0));
}

}  // namespace
