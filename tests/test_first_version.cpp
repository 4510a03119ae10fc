// The first version: one tall distribution chart, the strip chart, no theory and no distance,
// over the same flow as the second version.
#include <vector>

#include "charts/chart_panel.h"
#include "program_fixture.h"
#include "sim/run_modes.h"

using FirstVersion = RunTest;

namespace {

// True when some pixel of rows y1..y2 between columns x1 and x2 is white.
bool any_white(int x1, int y1, int x2, int y2) {
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) {
      if (get_pixel(x, y) == 15) return true;
    }
  }
  return false;
}

}  // namespace

TEST_F(FirstVersion, TwoPanelsShareTheTopEdgeAndTheirTitlesStandLevel) {
  start_run(5, 2, kFirstVersion);
  const ChartPanel& e = run.empirical_panel;
  const ChartPanel& s = run.strip.panel;
  EXPECT_EQ((std::vector<int>{e.x1, e.y1, e.x2, e.y2}), (std::vector<int>{9, 249, 309, 459}));
  EXPECT_EQ((std::vector<int>{s.x1, s.y1, s.x2, s.y2}), (std::vector<int>{329, 249, 629, 459}));
  EXPECT_EQ(panel_plot_height(e), 192);
  // Titles one text height below the common top edge: rows 257..264, nothing above or below.
  for (const ChartPanel* panel : {&e, &s}) {
    const int cx = panel->x1 + (panel->x2 - panel->x1) / 2;
    EXPECT_TRUE(any_white(cx - 40, 257, cx + 40, 264));
    EXPECT_FALSE(any_white(cx - 40, 251, cx + 40, 256));
    EXPECT_FALSE(any_white(cx - 40, 265, cx + 40, 266));
  }
}

TEST_F(FirstVersion, TheTallerPanelHalvesItsScaleAt39And77Counts) {
  start_run(5, 2, kFirstVersion);
  ChartPanel& e = run.empirical_panel;
  for (int count = 1; count <= 38; ++count) panel_increment(0, e, TurnDrawing::Draw);
  EXPECT_EQ(e.scale, 5.0);  // 38 * 5 = 190 stays below 192
  panel_increment(0, e, TurnDrawing::Draw);
  EXPECT_EQ(e.scale, 2.5);
  for (int count = 40; count <= 76; ++count) panel_increment(0, e, TurnDrawing::Draw);
  EXPECT_EQ(e.scale, 2.5);  // 76 * 2.5 = 190
  panel_increment(0, e, TurnDrawing::Draw);
  EXPECT_EQ(e.scale, 1.25);
}

TEST_F(FirstVersion, RecordsNoTheoryAndNoDistance) {
  start_run(6, 3, kFirstVersion);
  script_keys("xx");
  turns(2);
  EXPECT_EQ(run.theory_panel.bar_count, 0);
  EXPECT_EQ(run.theory_panel.values[3], 0);
  EXPECT_EQ(run.first_step_distance, 0.0);
  EXPECT_EQ(run.empirical_panel.bar_count, 7);
  EXPECT_EQ(run.strip.panel.bar_count, 3);
}

TEST_F(FirstVersion, LeavingQuietRedrawsTheTwoPanelsAndTheBoxes) {
  start_run(20, 10, kFirstVersion);
  script_keys("C");
  turns(400);
  script_keys("L");
  turns(1);
  const std::vector<uint8_t> redrawn = snapshot();
  redraw_after_quiet(run);
  EXPECT_EQ(snapshot(), redrawn);
  EXPECT_EQ(kFirstVersion.quiet_redraw_order.size(), 2u);
  // The tall panel's bars stand where the second version has its theoretical chart.
  EXPECT_TRUE(any_white(11, 268, 307, 358));
}

TEST_F(FirstVersion, TheSameAnswersGiveTheSameMovesAsTheSecondVersion) {
  std::vector<int> counts[2];
  for (const VersionDescription* version : {&kSecondVersion, &kFirstVersion}) {
    reset_random();
    start_run(17, 4, *version);
    script_keys("n");
    for (int turn = 0; turn < 300; ++turn) {
      turns(1);
      counts[version == &kFirstVersion].push_back(run.box1_count);
    }
  }
  EXPECT_EQ(counts[0], counts[1]);
}
