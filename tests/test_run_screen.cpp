// The run screen: frame, label boxes, chart frames and the box view on a 640x480 surface.
#include <string>
#include <utility>
#include <vector>

#include "program_fixture.h"
#include "services/graphics/font8x8.h"
#include "services/graphics/presenter.h"
#include "sim/box_view.h"

using RunScreen = RunTest;
using BoxView = RunTest;

namespace {

// The picture on a cell, read back from the surface.
std::vector<uint8_t> cell_picture(const RunState& run, int box, int column, int row) {
  const int c = run.cell_size;
  const int x = box_origin_x(box) + c * (column - 1);
  const int y = 20 + c * (row - 1);
  std::vector<uint8_t> picture(static_cast<std::size_t>(image_size(x, y, x + c - 1, y + c - 1)));
  get_image(x, y, x + c - 1, y + c - 1, picture.data());
  return picture;
}

bool cell_is_white(const RunState& run, int box, int column, int row) {
  const int c = run.cell_size;
  const int x = box_origin_x(box) + c * (column - 1);
  const int y = 20 + c * (row - 1);
  for (int dy = 0; dy < c; ++dy) {
    for (int dx = 0; dx < c; ++dx) {
      if (get_pixel(x + dx, y + dy) != 15) return false;
    }
  }
  return true;
}

// Every occupied cell shows the insect picture and every other cell of the grid is white.
void expect_boxes_match_insects(const RunState& run) {
  for (int box = 1; box <= 2; ++box) {
    for (int column = 1; column <= run.grid_columns; ++column) {
      for (int row = 1; row <= run.grid_rows; ++row) {
        if (run.cell_taken[box][column][row] == 1) {
          EXPECT_EQ(cell_picture(run, box, column, row), run.insect_image) << box << column << row;
        } else {
          EXPECT_TRUE(cell_is_white(run, box, column, row)) << box << column << row;
        }
      }
    }
  }
}

}  // namespace

TEST_F(RunScreen, OuterFrameAndLabelBoxesStandWhereTheyShould) {
  start_run(5, 2);
  EXPECT_EQ(run.screen_state, ScreenState::Graphics);
  // Outer frame (6, 6)-(634, 474), 3 pixels thick.
  for (const int x : {5, 6, 7}) EXPECT_EQ(get_pixel(x, 240), 15) << x;
  EXPECT_EQ(get_pixel(4, 240), 0);
  EXPECT_EQ(get_pixel(8, 240), 0);
  EXPECT_EQ(get_pixel(635, 240), 15);
  EXPECT_EQ(get_pixel(636, 240), 0);
  // The title box (263, 0)-(374, 15) cuts the frame's top line; its own outline starts at 266.
  EXPECT_EQ(get_pixel(262, 6), 15);
  EXPECT_EQ(get_pixel(264, 6), 0);
  EXPECT_EQ(get_pixel(266, 6), 15);
  EXPECT_EQ(get_pixel(375, 6), 15);
  EXPECT_EQ(get_pixel(373, 6), 0);
  // The status box (551, 0)-(639, 15) with its outline (553, 2)-(636, 13).
  EXPECT_EQ(get_pixel(550, 6), 15);
  EXPECT_EQ(get_pixel(551, 6), 0);
  EXPECT_EQ(get_pixel(552, 6), 15);
  EXPECT_EQ(get_pixel(637, 8), 15);
  EXPECT_EQ(get_pixel(638, 8), 0);
  // The legend (75, 465)-(562, 479) cuts the bottom line; its outline starts at 76.
  EXPECT_EQ(get_pixel(74, 474), 15);
  EXPECT_EQ(get_pixel(75, 474), 0);
  EXPECT_EQ(get_pixel(76, 474), 15);
  EXPECT_EQ(get_pixel(563, 474), 15);
}

TEST_F(RunScreen, PanelsAreSetUpOnTheScaledDesignGrid) {
  start_run(5, 2);
  const ChartPanel& e = run.empirical_panel;
  const ChartPanel& t = run.theory_panel;
  const ChartPanel& s = run.strip.panel;
  EXPECT_EQ((std::vector<int>{e.x1, e.y1, e.x2, e.y2}), (std::vector<int>{9, 359, 309, 459}));
  EXPECT_EQ((std::vector<int>{t.x1, t.y1, t.x2, t.y2}), (std::vector<int>{9, 249, 309, 349}));
  EXPECT_EQ((std::vector<int>{s.x1, s.y1, s.x2, s.y2}), (std::vector<int>{329, 249, 629, 459}));
  EXPECT_EQ(e.bar_count, 6);
  EXPECT_EQ(t.bar_count, 6);
  EXPECT_EQ(s.bar_count, 1);  // step 0 is recorded
  EXPECT_DOUBLE_EQ(s.scale, static_cast<double>(189.0L / 5));
  EXPECT_EQ(e.title, cp852("Empirikus eloszlás"));
  // The frames: the left line of each panel is white over its whole height.
  for (int y = 250; y <= 458; ++y) EXPECT_EQ(get_pixel(329, y), 15) << y;
  for (int y = 360; y <= 458; ++y) EXPECT_EQ(get_pixel(9, y), 15) << y;
}

TEST_F(RunScreen, FirstVersionHasOneTallDistributionChart) {
  start_run(5, 2, kFirstVersion);
  const ChartPanel& e = run.empirical_panel;
  EXPECT_EQ((std::vector<int>{e.x1, e.y1, e.x2, e.y2}), (std::vector<int>{9, 249, 309, 459}));
  EXPECT_EQ(e.title, cp852("Eloszlás"));
  EXPECT_EQ(run.strip.panel.title, cp852("Változás"));
  EXPECT_EQ(run.theory_panel.bar_count, 0);
  for (int y = 250; y <= 458; ++y) EXPECT_EQ(get_pixel(9, y), 15) << y;
}

TEST_F(RunScreen, StatusTextKeepsCountingPastTheFieldWidth) {
  EXPECT_EQ(status_text(0), " T:    0");
  EXPECT_EQ(status_text(99999), " T:99999");
  EXPECT_EQ(status_text(123456), " T:123456");
  start_run(5, 2);
  run.step_count = 123456;
  draw_status_box(run);
  // Nine characters centred on x = 551 + 47: the 'T' glyph's top row spans x = 570..575.
  EXPECT_EQ(get_pixel(570, 4), 15);
  EXPECT_EQ(get_pixel(575, 4), 15);
  EXPECT_EQ(get_pixel(569, 4), 0);  // the leading blank; the outline's top line is y = 1..3
  EXPECT_EQ(get_pixel(576, 4), 0);
}

// From 10,000,000 steps on the number used to run into the box's outline, and from 100,000,000
// on it was not drawn at all. Every digit of a 64-bit count is drawn whole inside the outline.
TEST_F(RunScreen, StepNumberStaysWholeInsideTheBoxFromEightDigitsOn) {
  const struct {
    int64_t steps;
    const char* text;
    int characters;
  } cases[] = {
      {9'999'999, " T:9999999", 10},          {10'000'000, "T:10000000", 11},
      {123'456'789, "123456789", 11},         {2'147'483'648, "2147483648", 11},
      {12'345'678'901, "12345678901", 12},    {INT64_MAX, "9223372036854775807", 20},
  };
  start_run(5, 2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string text = status_text(c.steps);
    ASSERT_EQ(text, c.text);
    ASSERT_EQ(status_box_characters(text), c.characters);
    run.step_count = c.steps;
    draw_status_box(run);
    const int sw = 8 * c.characters;
    const int left = 639 - sw - 8;
    const int x0 = left + (sw + 15) / 2 - 4 * static_cast<int>(text.size());
    if (c.steps >= 10'000'000) {
      EXPECT_GE(x0, left + 4);  // clear of the outline's left line (left + 1 .. left + 3)
      EXPECT_LE(x0 + 8 * static_cast<int>(text.size()) - 1, left + sw + 3);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
      const uint8_t* glyph = &kFont8x8[static_cast<uint8_t>(text[i]) * 8];
      for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
          if (!(glyph[row] & (0x80 >> col))) continue;
          ASSERT_EQ(get_pixel(x0 + 8 * static_cast<int>(i) + col, 4 + row), 15)
              << "character " << i << " row " << row << " column " << col;
        }
      }
    }
  }
}

namespace {

// Draws the status box for `steps` as a step draws it, then again whole, and expects the same
// surface both times.
void expect_status_box_whole(RunState& run, int64_t steps) {
  run.step_count = steps;
  draw_status_box(run);
  const std::vector<uint8_t> drawn = RunTest::snapshot();
  status_box().forget();
  draw_status_box(run);
  ASSERT_TRUE(RunTest::snapshot() == drawn) << "status box for " << steps << " steps";
}

}  // namespace

// A step rewrites only the glyph cells whose character changed. The pixels are those of the
// whole box at every step, across every change of the text's and the box's width, after jumps
// that change several characters at once, after the run screen is drawn again, and on surfaces
// whose right edge falls anywhere.
TEST_F(RunScreen, StatusBoxRedrawnInPartsGivesTheWholeBox) {
  const int64_t starts[] = {0, 99'990, 999'990, 9'999'990, 99'999'990, 999'999'990,
                            9'999'999'990, INT64_MAX - 20};
  const int64_t jumps[] = {12'345, 54'321, 54'329, 11'111, 999, 1'000'000, 1'000'009, 1'900'000};
  for (const auto& [width, height] : {std::pair{640, 480}, std::pair{915, 600},
                                      std::pair{1081, 768}, std::pair{1920, 1017}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    use_surface_size(width, height);
    start_run(5, 2);
    for (const int64_t start : starts) {
      for (int64_t i = 0; i <= 20; ++i) expect_status_box_whole(run, start + i);
    }
    for (const int64_t steps : jumps) expect_status_box_whole(run, steps);
    run.run_mode = RunMode::Normal;
    ASSERT_EQ(turns(57), 57);
    draw_run_screen(run);
    expect_status_box_whole(run, run.step_count);
  }
}

// The partial redraw is what a step costs a window: one glyph cell when one digit changes.
TEST_F(RunScreen, AStepThatChangesOneDigitRewritesOneGlyphCell) {
  start_run(5, 2);
  run.step_count = 123;
  draw_status_box(run);
  take_surface_changes();
  run.step_count = 124;
  draw_status_box(run);
  const ChangedRegion changed = take_surface_changes();
  ASSERT_EQ(changed.box_count(), 1);
  // " T:  124" centred in the box (551, 0)-(639, 15): its last cell is x = 622..629, y = 4..11.
  const SurfaceBox cell = *changed.begin();
  EXPECT_EQ((std::vector<int>{cell.x1, cell.y1, cell.x2, cell.y2}),
            (std::vector<int>{622, 4, 629, 11}));
}

TEST_F(BoxView, CellSizesFollowTheGridSide) {
  const int cases[][3] = {{5, 3, 74}, {9, 3, 74}, {10, 4, 56}, {140, 12, 18}};
  for (const auto& c : cases) {
    reset_run_state(run);
    start_run(c[0], 0);
    EXPECT_EQ(run.grid_columns, c[1]) << c[0];
    EXPECT_EQ(run.grid_rows, c[1]) << c[0];
    EXPECT_EQ(run.cell_size, c[2]) << c[0];
  }
}

TEST_F(BoxView, EveryCellIsWhiteAndEveryInsectIsDrawn) {
  start_run(7, 3);
  EXPECT_EQ(run.insect_image.size(), 74u * 74u * 2u + 12u);
  expect_boxes_match_insects(run);
  // Nothing is painted beyond the grid: box 1 ends at x = 241, box 2 starts at 339.
  EXPECT_EQ(get_pixel(242, 100), 0);
  EXPECT_EQ(get_pixel(338, 100), 0);
  EXPECT_EQ(get_pixel(100, 242), 0);
}

TEST_F(BoxView, MovesKeepThePictureInStepWithTheInsects) {
  start_run(140, 70);
  expect_boxes_match_insects(run);
  script_keys("N");
  turns(300);
  expect_boxes_match_insects(run);
}

// On a surface taller than wide the cell size followed the height alone: the boxes overlapped
// and ran off the surface. The width limits it there, and nowhere on a landscape surface.
TEST_F(BoxView, CellSizeIsLimitedByTheWidthOnlyOnTallSurfaces) {
  for (const auto& size : {std::pair{640, 480}, std::pair{1024, 768}, std::pair{1920, 1017},
                           std::pair{800, 600}, std::pair{3840, 2160}}) {
    for (int n = 5; n <= 140; ++n) {
      const int s = grid_side(n);
      EXPECT_EQ(cell_size_for(s, size.first - 1, size.second - 1), (size.second - 1 - 30) / (2 * s))
          << size.first << "x" << size.second << " N " << n;
    }
  }
  for (const auto& size : {std::pair{1080, 1920}, std::pair{480, 640}, std::pair{1000, 1000}}) {
    reset_run_state(run);
    use_surface_size(size.first, size.second);
    start_run(5, 2);
    const int side = run.grid_columns * run.cell_size;
    const int box2 = box_origin_x(2);
    EXPECT_LT(box_origin_x(1) + side - 1, box2) << size.first;            // no overlap
    EXPECT_LE(box2 + side - 1, size.first - 1 - 8) << size.first;           // inside the frame
    EXPECT_EQ(get_pixel(box2 + side - 1, 20), 15) << size.first;            // the last cell drawn
    EXPECT_EQ(get_pixel(size.first - 1 - 5, 20 + side / 2), 15) << size.first;  // frame line kept
  }
}
