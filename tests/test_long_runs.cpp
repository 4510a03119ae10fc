// Long runs without waiting for them: a run put just below ten million, 2^31 and 2^32 steps, with
// bars just as high, runs across those marks with every figure and every chart sane; and ten
// million quiet steps keep the histogram's invariant and a positive scale.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "charts/theory.h"
#include "program_fixture.h"
#include "sanitizer_build.h"
#include "sim/summary_report.h"

namespace {

// Every bar of the panel stands inside it: its top is below the title band.
void expect_bars_inside(const ChartPanel& panel) {
  EXPECT_GT(panel.scale, 0.0);
  for (int i = 0; i < panel.bar_count; ++i) {
    ASSERT_GE(panel.values[i], 0) << "bar " << i;
    ASSERT_GE(panel_bar_top(panel, panel.values[i]), panel_plot_top(panel)) << "bar " << i;
  }
}

// The scale a run reaches by halving from 5 whenever a bar would reach the title band.
double halved_scale_for(const ChartPanel& panel) {
  double scale = 5.0;
  const long double highest = panel_max_value(panel);
  while (highest * scale >= panel_plot_height(panel)) scale /= 2.0;
  return scale;
}

// The pixels of the rectangle, row by row.
std::vector<uint8_t> pixels_of(const std::vector<uint8_t>& surface, int x1, int y1, int x2,
                               int y2) {
  const int width = get_max_x() + 1;
  std::vector<uint8_t> part;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) part.push_back(surface[static_cast<std::size_t>(y * width + x)]);
  }
  return part;
}

// The inside of the status box on a 640x480 surface, within its 3-pixel outline.
struct Rectangle {
  int x1, y1, x2, y2;
};
constexpr Rectangle kStatusInside{555, 4, 634, 11};

bool has_white(const std::vector<uint8_t>& pixels) {
  for (const uint8_t pixel : pixels) {
    if (pixel == 15) return true;
  }
  return false;
}

}  // namespace

using LongRun = RunTest;

TEST_F(LongRun, CrossingTenMillionAnd2To31And2To32StepsKeepsFiguresAndBarsTrue) {
  const int64_t starts[] = {9'999'997, (int64_t{1} << 31) - 3, (int64_t{1} << 32) - 3};
  const VersionDescription* versions[] = {&kSecondVersion, &kFirstVersion};
  constexpr int kTurns = 8;
  for (const VersionDescription* version : versions) {
    for (const int64_t start : starts) {
      SCOPED_TRACE((version->has_theory ? "second version from " : "first version from ") +
                   std::to_string(start));
      start_run(10, 5, *version);
      ChartPanel& empirical = run.empirical_panel;
      // A run this long has high bars around the middle and the scale they have halved it to:
      // the bars next to the middle one pass the mark at their next step, and the middle one
      // reaches the title band at its next step, which halves the scale once more.
      empirical.values[3] = empirical.values[7] = start + 1;
      empirical.values[4] = empirical.values[6] = start + 2;  // one below the mark
      empirical.scale = halved_scale_for(empirical);
      const double scale_at_start = empirical.scale;
      empirical.values[5] = static_cast<int64_t>(
          std::ceil(static_cast<long double>(panel_plot_height(empirical)) / empirical.scale)) - 1;
      ASSERT_EQ(halved_scale_for(empirical), scale_at_start);
      panel_redraw(empirical);
      run.step_count = start;
      const int64_t sum_before = [&] {
        int64_t sum = 0;
        for (int i = 0; i < empirical.bar_count; ++i) sum += empirical.values[i];
        return sum;
      }();

      const int band_bottom = panel_plot_top(empirical) - 1;
      const auto band = [&](const std::vector<uint8_t>& surface) {
        return pixels_of(surface, empirical.x1 + 2, empirical.y1 + 2, empirical.x2 - 2,
                         band_bottom);
      };
      const auto status_inside = [](const std::vector<uint8_t>& surface) {
        return pixels_of(surface, kStatusInside.x1, kStatusInside.y1, kStatusInside.x2,
                         kStatusInside.y2);
      };
      std::vector<uint8_t> before = snapshot();
      const std::vector<uint8_t> band_at_start = band(before);
      script_keys("n");
      for (int turn = 1; turn <= kTurns; ++turn) {
        ASSERT_EQ(turns(1), 1);
        const std::vector<uint8_t> after = snapshot();
        EXPECT_EQ(run.step_count, start + turn);
        // Up to seven digits the text is " T:" and the number; beyond, the box shows a text
        // that changes every step.
        if (run.step_count <= 9'999'999) {
          EXPECT_EQ(status_text(run.step_count), " T:" + std::to_string(run.step_count));
        }
        EXPECT_TRUE(has_white(status_inside(after))) << "turn " << turn;
        EXPECT_NE(status_inside(after), status_inside(before)) << "turn " << turn;
        expect_bars_inside(empirical);
        EXPECT_EQ(band(after), band_at_start) << "a bar reached the title band, turn " << turn;
        before = after;
      }
      int64_t sum_after = 0;
      for (int i = 0; i < empirical.bar_count; ++i) sum_after += empirical.values[i];
      EXPECT_EQ(sum_after, sum_before + kTurns);
      EXPECT_GT(std::max(empirical.values[4], empirical.values[6]), start + 2);  // past the mark
      EXPECT_EQ(empirical.scale, scale_at_start / 2);

      const SummaryFigures figures = run_figures(run);
      EXPECT_EQ(figures.step_count, start + kTurns);
      EXPECT_GE(figures.final_distance, 0.0);
      EXPECT_LT(figures.final_distance, 12.0);  // at most sqrt(N + 1) for normalised panels
      write_data_file(std::string(version->summary_file), "T=<@T@>\r\n");
      script_keys("aa", ScriptEnd::EndOfInput);
      show_summary(run);
      const auto& screens = console_.screens_at_sleep();
      ASSERT_GE(screens.size(), 2u);
      EXPECT_EQ(screens.back()[2].find("T=" + std::to_string(start + kTurns) + " "), 4u);
      reset_keyboard();
    }
  }
}

// Ten million quiet steps each for the largest and the smallest N. The sanitizer build, many
// times slower, makes a million.
TEST_F(LongRun, TenMillionQuietStepsKeepTheHistogramWhole) {
  constexpr int kSteps = kSanitizerBuild ? 1'000'000 : 10'000'000;
  for (const int n : {140, 5}) {
    SCOPED_TRACE("N = " + std::to_string(n));
    start_run(n, n / 2);
    script_keys("c");
    ASSERT_EQ(turns(kSteps), kSteps);
    const ChartPanel& empirical = run.empirical_panel;
    int64_t sum = 0;
    for (int i = 0; i < empirical.bar_count; ++i) sum += empirical.values[i];
    EXPECT_EQ(run.step_count, kSteps);
    EXPECT_EQ(sum, run.step_count + 1);
    expect_bars_inside(empirical);
    // The bar of the middle count reaches at least half the plot height after its last halving.
    EXPECT_GE(static_cast<double>(panel_max_value(empirical)) * empirical.scale * 2.0,
              panel_plot_height(empirical));
  }
}
