// The mirror of the surface that both editions show from: equal to the surface after every
// update, the boxes that changed or "all", and never half a drawing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/graphics/surface_mirror.h"
#include "services/program/host.h"

namespace {

constexpr int kWidth = 16, kHeight = 8;

// A 16 x 8 surface opened through the headless presenter, as the programs' tests do, and a
// mirror of that size brought up to date once.
class SurfaceMirrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    open();
    mirror_.resize(kWidth, kHeight);
    mirror_.update();
  }
  void TearDown() override { close_graphics(); }
  static void open() {
    int16_t driver = 0, mode = 0;
    open_graphics(driver, mode, "");
  }
  bool mirror_equals_surface() {
    std::lock_guard<std::mutex> lock(drawing_lock());
    return std::memcmp(mirror_.pixels(), current_surface().pixels(), kWidth * kHeight) == 0;
  }
  bool mirror_is_black() const {
    for (int i = 0; i < kWidth * kHeight; ++i) {
      if (mirror_.pixels()[i] != 0) return false;
    }
    return true;
  }
  HeadlessPresenter headless_{kWidth, kHeight};
  const ScopedHost hosted_{[this](Host& record) { record.presenter = &headless_; }};
  SurfaceMirror mirror_;
};

bool inside(const SurfaceBox& outer, const SurfaceBox& inner) {
  return outer.x1 <= inner.x1 && inner.x2 <= outer.x2 && outer.y1 <= inner.y1 &&
         inner.y2 <= outer.y2;
}

// True when every box of `a` lies inside some box of `b`.
template <typename A, typename B>
bool each_inside_one(const A& a, const B& b) {
  for (const SurfaceBox& inner : a) {
    bool found = false;
    for (const SurfaceBox& outer : b) found = found || inside(outer, inner);
    if (!found) return false;
  }
  return true;
}

TEST_F(SurfaceMirrorTest, AfterEveryDrawingTheMirrorEqualsTheSurfaceAndNamesTheChangedBoxes) {
  struct Step {
    std::function<void()> draw;
    std::vector<SurfaceBox> written;  // where the step may write
  };
  const Step steps[] = {
      {[] { set_fill(FillPattern::Solid, 4); fill_bar(2, 1, 5, 3); }, {{2, 1, 5, 3}}},
      {[] { draw_line(0, 7, 15, 0); }, {{0, 0, 15, 7}}},
      {[] { set_fill(FillPattern::Solid, 200); fill_bar(12, 4, 14, 6); draw_text(0, 0, "\x01"); },
       {{12, 4, 14, 6}, {0, 0, 7, 7}}},
      {[] { move_region(0, 0, 7, 7, 3, 1); }, {{3, 1, 10, 7}}},
      {[] { set_viewport(2, 2, 6, 5, Clipping::On); clear_viewport(); }, {{2, 2, 6, 5}}},
  };
  for (const Step& step : steps) {
    step.draw();
    const MirrorChanges changes = mirror_.update();
    EXPECT_FALSE(surface_changed.load());
    EXPECT_FALSE(changes.all);
    EXPECT_TRUE(each_inside_one(step.written, changes.boxes));
    EXPECT_TRUE(each_inside_one(changes.boxes, step.written));
    EXPECT_TRUE(mirror_equals_surface());
  }
  EXPECT_TRUE(mirror_.update().boxes.no_boxes());  // nothing drawn since
}

// A mirror that cannot follow the changed region alone answers "all", the whole frame as its one
// box: after a resize, and when the surface closed (the frame goes black), opened at another size
// (black too) or opened again at the frame's size.
TEST_F(SurfaceMirrorTest, ResizeClosingAndOpeningChangeAll) {
  const SurfaceBox whole{0, 0, kWidth - 1, kHeight - 1};
  const auto expect_all = [&](const MirrorChanges& changes, bool black) {
    EXPECT_TRUE(changes.all);
    ASSERT_EQ(changes.boxes.box_count(), 1);
    EXPECT_TRUE(inside(*changes.boxes.begin(), whole) && inside(whole, *changes.boxes.begin()));
    EXPECT_EQ(mirror_is_black(), black);
  };
  set_fill(FillPattern::Solid, 4);
  fill_bar(0, 0, 3, 3);
  mirror_.resize(kWidth, kHeight);
  expect_all(mirror_.update(), false);
  EXPECT_TRUE(mirror_equals_surface());

  close_graphics();
  expect_all(mirror_.update(), true);
  {
    HeadlessPresenter wider(kWidth + 1, kHeight);
    const ScopedHost hosted([&wider](Host& record) { record.presenter = &wider; });
    open();
    set_fill(FillPattern::Solid, 2);
    fill_bar(0, 0, 3, 3);
    expect_all(mirror_.update(), true);
    close_graphics();
  }
  open();
  fill_bar(0, 0, 3, 3);
  expect_all(mirror_.update(), false);
  EXPECT_TRUE(mirror_equals_surface());
}

// The status box of a turn is drawn in one batch: an update waits for the batch (and for a single
// operation, which holds the lock as well) and shows it whole, never cleared without its number.
TEST_F(SurfaceMirrorTest, UpdateWaitsForTheDrawingInProgress) {
  std::atomic<bool> updated{false};
  std::thread repaint;
  {
    const DrawingBatch batch;
    set_fill(FillPattern::Empty, 0);
    fill_bar(0, 0, 15, 7);
    repaint = std::thread([&] {
      mirror_.update();
      updated = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(updated.load());
    set_fill(FillPattern::Solid, 2);
    fill_bar(9, 0, 15, 7);
  }
  repaint.join();
  EXPECT_TRUE(updated.load());
  for (int x = 0; x < kWidth; ++x) EXPECT_EQ(mirror_.pixels()[3 * kWidth + x], x >= 9 ? 2 : 0) << x;
}

}  // namespace
