// Deferred drawing: a drawing left to whoever next uses the surface (graphics.h), and the status
// box that quiet running leaves so (status_box.h). Whoever reads the surface, and whenever, finds
// what drawing at every step gives.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "program_fixture.h"
#include "services/graphics/surface_mirror.h"
#include "sim/run_modes.h"

namespace {

// A drawing that marks one more pixel of the top row at every run, and where it ran.
std::atomic<int> runs{0};
std::atomic<std::thread::id> ran_on{};

void mark_next_pixel() {
  set_fill(FillPattern::Solid, 4);
  fill_bar(runs, 0, runs, 0);
  ++runs;
  ran_on = std::this_thread::get_id();
}

// What is looked at after a turn of a run, as a person or a test may look.
enum class Look { None, Repaint, Pixels, Snapshot };

// A turn of a scripted run: the key it reads (0: none) and the look after it.
struct Moment {
  char key = 0;
  Look look = Look::None;
};

// `count` turns from the start of a run (step by step): Quiet mostly, with keys at random turns
// that change the mode or only step (one for every turn while step by step), looks at random
// turns and after every key, and V at the last turn, which ends the run.
std::vector<Moment> random_moments(unsigned seed, int count) {
  std::mt19937 random(seed);
  const auto chance = [&](int percent) { return static_cast<int>(random() % 1000) < percent * 10; };
  const char keys[] = {'c', 'c', 'n', 'l', 'x'};
  std::vector<Moment> moments(static_cast<std::size_t>(count));
  RunMode mode = RunMode::Stepwise;
  for (Moment& moment : moments) {
    if (mode == RunMode::Stepwise) moment.key = chance(20) ? keys[random() % 5] : 'x';
    if (mode != RunMode::Stepwise && chance(1)) moment.key = keys[random() % 5];
    if (&moment == &moments.front()) moment.key = 'c';
    if (&moment == &moments.back()) moment.key = 'v';
    mode = mode_for_key(moment.key, mode);
    if (moment.key != 0 || chance(3)) moment.look = static_cast<Look>(1 + random() % 3);
  }
  return moments;
}

// The status box's corner of a 640x480 surface, pixel by pixel through get_pixel.
std::vector<uint8_t> status_corner_pixels() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y <= 15; ++y) {
    for (int x = 551; x <= 639; ++x) pixels.push_back(get_pixel(x, y));
  }
  return pixels;
}

std::vector<uint8_t> status_corner_of(const std::vector<uint8_t>& surface) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y <= 15; ++y) {
    for (int x = 551; x <= 639; ++x) {
      pixels.push_back(surface[static_cast<std::size_t>(y * 640 + x)]);
    }
  }
  return pixels;
}

class DeferredDrawingTest : public RunTest {
 protected:
  void open_small_surface() {
    use_surface_size(16, 8);
    int16_t driver = 0, mode = 0;
    open_graphics(driver, mode, "");
  }

  // Runs the moments from a run of N insects whose count starts at `start`, and gives what each
  // look saw. With `every_step` the status box is drawn after every turn, as if nothing were
  // deferred, and every look is a snapshot.
  std::vector<std::vector<uint8_t>> looks_of_run(int n, int64_t start,
                                                 const std::vector<Moment>& moments,
                                                 bool every_step) {
    start_run(n, n / 2);
    run.step_count = start;
    SurfaceMirror mirror;
    mirror.resize(640, 480);
    mirror.update();
    std::vector<std::vector<uint8_t>> seen;
    for (const Moment& moment : moments) {
      if (moment.key != 0) script_keys(std::string(1, moment.key));
      run_turn(run);
      if (every_step) draw_status_box(run);
      if (moment.look == Look::None) continue;
      if (every_step || moment.look == Look::Snapshot) {
        seen.push_back(snapshot());
      } else if (moment.look == Look::Pixels) {
        seen.push_back(status_corner_pixels());
      } else {
        mirror.update();
        seen.emplace_back(mirror.pixels(), mirror.pixels() + 640 * 480);
      }
    }
    EXPECT_EQ(run.run_mode, RunMode::Finish);
    return seen;
  }
};

}  // namespace

// A deferred drawing runs once, before whatever next uses the surface: an operation, a batch, a
// mirror's update (on any thread), a read of the surface under the lock, or the closing. Deferred
// again before it ran, it still runs once. With no surface open it is dropped.
TEST_F(DeferredDrawingTest, RunsOnceBeforeTheSurfaceIsNextUsed) {
  open_small_surface();
  SurfaceMirror mirror;
  mirror.resize(16, 8);
  mirror.update();
  runs = 0;
  defer_drawing(&mark_next_pixel);
  defer_drawing(&mark_next_pixel);
  EXPECT_TRUE(drawing_deferred());
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(get_pixel(0, 0), 4);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(drawing_deferred());

  defer_drawing(&mark_next_pixel);
  { const DrawingBatch batch; EXPECT_EQ(runs, 2); }

  defer_drawing(&mark_next_pixel);
  std::thread([&] { mirror.update(); }).join();
  EXPECT_EQ(runs, 3);
  EXPECT_NE(ran_on.load(), std::this_thread::get_id());
  EXPECT_EQ(mirror.pixels()[2], 4);

  defer_drawing(&mark_next_pixel);
  {
    std::lock_guard<std::mutex> lock(drawing_lock());
    EXPECT_EQ(current_surface().pixels()[3], 4);
  }
  defer_drawing(&mark_next_pixel);
  close_graphics();
  EXPECT_EQ(runs, 5);

  defer_drawing(&mark_next_pixel);
  open_small_surface();
  EXPECT_EQ(runs, 5);
  EXPECT_FALSE(drawing_deferred());
  EXPECT_EQ(get_pixel(0, 0), 0);
  close_graphics();
}

// Quiet running leaves the status box to be drawn when the surface is next used. Runs scripted at
// random (Quiet with stretches of Normal and step by step, halvings of a small N's chart, the box
// widening at ten million) are looked at after random turns and every key (a mode change, a
// step, the end): by a repaint's mirror, by get_pixel on the box, or in a snapshot. Each look
// sees what the same run sees when the box is drawn at every step.
TEST_F(DeferredDrawingTest, QuietRunLookedAtAnyTimeShowsWhatDrawingAtEveryStepShows) {
  const struct {
    int n;
    int64_t start;
    unsigned seed;
  } runs_of[] = {{5, 0, 1}, {140, 9'998'800, 2}, {12, 95, 3}};
  for (const auto& r : runs_of) {
    SCOPED_TRACE("N = " + std::to_string(r.n) + " from step " + std::to_string(r.start));
    const std::vector<Moment> moments = random_moments(r.seed, 3000);
    reset_random();
    const std::vector<std::vector<uint8_t>> expected = looks_of_run(r.n, r.start, moments, true);
    reset_random();
    const std::vector<std::vector<uint8_t>> seen = looks_of_run(r.n, r.start, moments, false);
    ASSERT_EQ(seen.size(), expected.size());
    std::size_t look = 0;
    for (const Moment& moment : moments) {
      if (moment.look == Look::None) continue;
      const std::vector<uint8_t>& want =
          moment.look == Look::Pixels ? status_corner_of(expected[look]) : expected[look];
      ASSERT_TRUE(seen[look] == want) << "look " << look;
      ++look;
    }
  }
}

// The window's thread repaints while quiet turns run, so it draws the status box itself. When
// the turns stop, its last repaint shows what drawing at every step leaves.
TEST_F(DeferredDrawingTest, RepaintThreadEndsWithThePictureOfDrawingAtEveryStep) {
  constexpr int kTurns = 100'000;
  reset_random();
  start_run(5, 2);
  script_keys("c");
  turns(kTurns);
  draw_status_box(run);
  const std::vector<uint8_t> expected = snapshot();

  reset_random();
  start_run(5, 2);
  SurfaceMirror mirror;
  mirror.resize(640, 480);
  std::atomic<bool> turns_done{false};
  std::thread repaint([&] {
    while (!turns_done) mirror.update();
    mirror.update();
  });
  script_keys("c");
  turns(kTurns);
  turns_done = true;
  repaint.join();
  EXPECT_FALSE(drawing_deferred());
  EXPECT_EQ(std::memcmp(mirror.pixels(), expected.data(), expected.size()), 0);
}
