// Strip chart: filling, scrolling, quiet running, the redraw after quiet running, and the scroll
// buffer on large surfaces. The panel is set up as the program sets it up: design coordinates
// mapped to the surface, scale = mapped height 190 / N.
#include "charts/strip_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/numbers/extended_real.h"
#include "services/graphics/presenter.h"
#include "chart_surface.h"

namespace {

constexpr int kWhite = 15;

// The surfaces the tests use: the design size, a full-screen desktop, a very large one, and two
// widths where 142 slots of (x2 - x1) div 140 would reach the strip's right frame line.
enum SurfaceSize { kDesign, kDesktop, kHuge, kStripeWidth, kFrameWidth };

// Opens a black surface set up like the run screen, with the run state at its start values.
void open_surface(SurfaceSize size) {
  static HeadlessPresenter presenters[] = {
      {640, 480}, {1920, 1017}, {7680, 4320}, {915, 600}, {1200, 800}};
  open_chart_surface(presenters[size]);
}

uint16_t map_design(int v, int max, int design) {
  return static_cast<uint16_t>(truncate_real(static_cast<long double>(v) * max / design));
}

// The strip chart for the open surface and n insects, its scroll buffer prepared.
StripChart make_strip(int n) {
  const int mx = get_max_x(), my = get_max_y();
  const double scale = static_cast<double>(map_design(190, my, 480) / static_cast<long double>(n));
  StripChart strip;
  panel_init(strip.panel, map_design(330, mx, 640), map_design(250, my, 480),
             map_design(630, mx, 640), map_design(460, my, 480), "Darabsz\xA0m-v\xA0ltoz\xA0s", 0,
             scale, kWhite);
  strip_prepare(strip, n);
  return strip;
}

int slot_left(const ChartPanel& s, int k) { return s.x1 + strip_slot_width(s) * k + 2; }
int slot_right(const ChartPanel& s, int k) { return s.x1 + strip_slot_width(s) * (k + 1) + 1; }

// The first white row of column x from the plot top down to y2, or -1 when there is none.
int column_top(const ChartPanel& s, int x) {
  for (int y = s.y1 + 18; y <= s.y2; ++y) {
    if (get_pixel(x, y) == kWhite) return y;
  }
  return -1;
}

// Slot k shows values[k] in both edge columns; the slot after the last is background above y2.
// A bar of value 0 may merge with the frame's bottom line, which covers y2 - 1 too.
void expect_slots(const ChartPanel& s, const std::vector<int64_t>& values) {
  for (int k = 0; k < static_cast<int>(values.size()); ++k) {
    const int top = std::min(panel_bar_top(s, values[k]), s.y2 - 1);
    ASSERT_EQ(std::min(column_top(s, slot_left(s, k)), s.y2 - 1), top) << "slot " << k;
    ASSERT_EQ(std::min(column_top(s, slot_right(s, k)), s.y2 - 1), top) << "slot " << k;
  }
  const int next = static_cast<int>(values.size());
  const int last_row = column_top(s, slot_left(s, next));
  EXPECT_TRUE(last_row == -1 || last_row >= s.y2 - 1) << "slot " << next;
}

// A deterministic walk over 0..n.
int64_t walk(int t, int n) { return (t * 7 + t / 3) % (n + 1); }

std::vector<int64_t> window(int first, int end, int n) {
  std::vector<int64_t> v;
  for (int t = first; t < end; ++t) v.push_back(walk(t, n));
  return v;
}

void push_range(StripChart& s, int first, int end, TurnDrawing drawing) {
  const int n = static_cast<int>(s.full_value);
  for (int t = first; t < end; ++t) strip_push(static_cast<uint16_t>(walk(t, n)), s, drawing);
}

std::vector<uint8_t> capture(const ChartPanel& s) {
  std::vector<uint8_t> pixels;
  for (int y = s.y1 - 1; y <= s.y2 + 1; ++y) {
    for (int x = s.x1 - 1; x <= s.x2 + 1; ++x) pixels.push_back(get_pixel(x, y));
  }
  return pixels;
}

class StripChartTest : public ::testing::Test {
 protected:
  void SetUp() override { open_surface(kDesign); }
  void TearDown() override { close_graphics(); }
};

TEST_F(StripChartTest, FullValueReachesRow270OrJustAboveIt) {
  for (auto [n, top] : {std::pair{5, 270}, {11, 269}, {19, 269}, {22, 269}, {140, 269}}) {
    set_fill(FillPattern::Empty, 0);
    fill_bar(0, 0, 639, 479);
    StripChart strip = make_strip(n);
    ChartPanel& s = strip.panel;
    strip_push(static_cast<uint16_t>(n), strip, TurnDrawing::Draw);
    strip_push(0, strip, TurnDrawing::Draw);
    EXPECT_EQ(panel_bar_top(s, n), top) << n;
    EXPECT_EQ(column_top(s, 331), top) << n;
    EXPECT_EQ(column_top(s, 333), 459) << n;  // a value of 0 is the single row y2
  }
}

TEST_F(StripChartTest, FillsFromTheLeftThenScrollsAtThe142ndPush) {
  StripChart strip = make_strip(5);
  ChartPanel& s = strip.panel;
  EXPECT_EQ(strip_slot_width(s), 2);
  push_range(strip, 0, 141, TurnDrawing::Draw);
  EXPECT_EQ(s.bar_count, 141);
  expect_slots(s, window(0, 141, 5));
  push_range(strip, 141, 142, TurnDrawing::Draw);
  EXPECT_EQ(s.bar_count, 141);
  EXPECT_EQ(strip_value(strip, 0), walk(1, 5));
  EXPECT_EQ(strip_value(strip, 140), walk(141, 5));
  expect_slots(s, window(1, 142, 5));
  push_range(strip, 142, 300, TurnDrawing::Draw);
  expect_slots(s, window(159, 300, 5));
}

TEST_F(StripChartTest, QuietPushesStoreAndShiftValuesButDrawNothing) {
  StripChart strip = make_strip(11);
  ChartPanel& s = strip.panel;
  push_range(strip, 0, 200, TurnDrawing::CountOnly);
  EXPECT_EQ(s.bar_count, 141);
  std::vector<int64_t> stored;
  for (int k = 0; k < s.bar_count; ++k) stored.push_back(strip_value(strip, k));
  EXPECT_EQ(stored, window(59, 200, 11));
  for (int x = s.x1 + 2; x <= s.x2 - 2; ++x) ASSERT_EQ(column_top(s, x), -1) << x;
}

// Pushes before, during and after quiet running, with a redraw on leaving it, must give the
// same picture as pushes that were all drawn, both while the strip fills and once it scrolls.
TEST_F(StripChartTest, RedrawAfterQuietRunningContinuesTheIncrementalPicture) {
  struct Case {
    int n, shown, quiet, after;
  };
  for (const Case c : {Case{11, 30, 50, 40}, Case{5, 150, 80, 30}, Case{22, 60, 81, 5},
                       Case{140, 141, 1, 3}, Case{19, 0, 1, 200}}) {
    SCOPED_TRACE(c.n * 1000 + c.shown);
    const int quiet_end = c.shown + c.quiet, end = quiet_end + c.after;
    close_graphics();
    open_surface(kDesign);
    StripChart drawn_strip = make_strip(c.n);
    ChartPanel& drawn = drawn_strip.panel;
    panel_draw_frame(drawn);
    push_range(drawn_strip, 0, quiet_end, TurnDrawing::Draw);
    const std::vector<uint8_t> reference_mid = capture(drawn);
    push_range(drawn_strip, quiet_end, end, TurnDrawing::Draw);
    const std::vector<uint8_t> reference_end = capture(drawn);

    close_graphics();
    open_surface(kDesign);
    StripChart strip = make_strip(c.n);
    ChartPanel& s = strip.panel;
    panel_draw_frame(s);
    push_range(strip, 0, c.shown, TurnDrawing::Draw);
    push_range(strip, c.shown, quiet_end, TurnDrawing::CountOnly);
    strip_redraw(strip);
    EXPECT_TRUE(capture(s) == reference_mid);
    push_range(strip, quiet_end, end, TurnDrawing::Draw);
    EXPECT_TRUE(capture(s) == reference_end);
  }
}

// Sizes the desktop gives, the largest with a scrolled region beyond 3,000,000 bytes of image
// buffer: scrolling in place shows the right slots there too.
TEST(StripChartSurfaceTest, ScrollingOnLargeSurfacesShowsTheRightSlots) {
  for (const auto& [size, n] : {std::pair{kDesktop, 140}, {kDesktop, 5}, {kHuge, 11}}) {
    SCOPED_TRACE(size * 1000 + n);
    open_surface(size);
    StripChart strip = make_strip(n);
    ChartPanel& s = strip.panel;
    push_range(strip, 0, 143, TurnDrawing::Draw);
    expect_slots(s, window(2, 143, n));
    EXPECT_EQ(strip_slot_width(s), (s.x2 - s.x1) / 140);
    close_graphics();
  }
}

// There the slots are one pixel narrower, so that a scroll neither drags the frame line into
// the chart as white stripes (915 pixels wide) nor erases it (1200 pixels wide).
TEST(StripChartSurfaceTest, ScrollingLeavesTheFrameAloneWhereFullSlotsWouldReachIt) {
  for (const SurfaceSize size : {kStripeWidth, kFrameWidth}) {
    SCOPED_TRACE(size);
    open_surface(size);
    StripChart strip = make_strip(10);
    ChartPanel& s = strip.panel;
    EXPECT_EQ(strip_slot_width(s), (s.x2 - s.x1) / 140 - 1);
    panel_draw_frame(s);
    push_range(strip, 0, 400, TurnDrawing::Draw);
    for (int y = s.y1; y < s.y2; ++y) {  // the right line of the frame
      for (int x = s.x2 - 1; x <= s.x2 + 1; ++x) ASSERT_EQ(get_pixel(x, y), kWhite) << y;
    }
    expect_slots(s, window(259, 400, 10));
    const std::vector<uint8_t> pushed = capture(s);
    strip_redraw(strip);
    EXPECT_TRUE(capture(s) == pushed);
    close_graphics();
  }
}

// The scroll as it was made before the surface could move a region: slots 1..141 from the full
// level down to y2 read into an image and put back one slot to the left; then the new value
// drawn in the last slot.
void push_through_image(const StripChart& strip, int64_t value) {
  const ChartPanel& s = strip.panel;
  const int ws = strip_slot_width(s), top = panel_bar_top(s, strip.full_value);
  std::vector<uint8_t> image(
      static_cast<std::size_t>(image_size(s.x1 + ws + 2, top, s.x1 + ws * 142 + 1, s.y2)));
  get_image(s.x1 + ws + 2, top, s.x1 + ws * 142 + 1, s.y2, image.data());
  put_image(s.x1 + 2, top, image.data(), PutMode::Copy);
  set_fill(FillPattern::Solid, s.colour);
  fill_bar(slot_left(s, 140), panel_bar_top(s, value), slot_right(s, 140), s.y2);
}

// A count as a run gives it: wandering a step either way about n / 2, then standing still for
// more than 141 pushes, falling to zero and climbing back to n. The rows a scroll must move
// shrink to a few, or to none.
int64_t wander(int t, int n) {
  const int phase = t / 4 % 4;
  if (t < 300) return n / 2 + (phase == 1 ? -1 : phase == 3 ? 1 : 0);
  if (t < 460) return n / 2;
  if (t < 480) return 0;
  return std::min<int64_t>(n, (t - 480) / 3);
}

std::vector<uint8_t> whole_surface() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y <= get_max_y(); ++y) {
    for (int x = 0; x <= get_max_x(); ++x) pixels.push_back(get_pixel(x, y));
  }
  return pixels;
}

}  // namespace

// The scroll moves in place only the rows where the bars differ; the whole surface must come out
// as it did through the image buffer, at the design width, at the two widths with narrower slots
// and on a desktop, for values over the whole range and for values in a narrow band or all
// alike.
TEST(StripChartSurfaceTest, ScrollInPlaceGivesThePixelsOfTheImageBuffer) {
  for (const SurfaceSize size : {kDesign, kStripeWidth, kFrameWidth, kDesktop}) {
    SCOPED_TRACE(size);
    for (const auto values : {&walk, &wander}) {
      SCOPED_TRACE(values == &walk ? "walk" : "wander");
      std::vector<uint8_t> pictures[2];
      for (const bool in_place : {true, false}) {
        open_surface(size);
        StripChart strip = make_strip(13);
        panel_draw_frame(strip.panel);
        for (int t = 0; t < 600; ++t) {
          const auto value = static_cast<uint16_t>(values(t, 13));
          if (in_place || t < kMaxBars) {
            strip_push(value, strip, TurnDrawing::Draw);
          } else {
            push_through_image(strip, value);
          }
        }
        pictures[in_place] = whole_surface();
        close_graphics();
      }
      EXPECT_TRUE(pictures[0] == pictures[1]);
    }
  }
}
