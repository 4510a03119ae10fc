// The run modes: keys, what each mode draws, and the redraw on leaving quiet running.
#include <chrono>
#include <thread>

#include "program_fixture.h"
#include "sim/box_view.h"

using RunModes = RunTest;

namespace {

// The status box of a 640x480 surface.
bool only_status_changed(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
  return RunTest::changes_inside(before, after, 551, 0, 639, 15);
}

}  // namespace

TEST_F(RunModes, KeysSelectModesCaseByCase) {
  const struct { int key; RunMode mode; } cases[] = {
      {'C', RunMode::Quiet},    {'c', RunMode::Quiet},    {'L', RunMode::Stepwise},
      {'l', RunMode::Stepwise}, {'N', RunMode::Normal},   {'n', RunMode::Normal},
      {'V', RunMode::Finish},   {'v', RunMode::Finish},   {0, RunMode::Normal},
      {'x', RunMode::Normal},   {13, RunMode::Normal}};
  for (const auto& c : cases) EXPECT_EQ(mode_for_key(c.key, RunMode::Normal), c.mode) << c.key;
}

TEST_F(RunModes, StepwiseMakesOneStepPerKey) {
  start_run(10, 5);
  script_keys("1 \r", ScriptEnd::EndOfInput);
  EXPECT_EQ(turns(100), 3);
  EXPECT_EQ(run.step_count, 3);
  EXPECT_EQ(run.run_mode, RunMode::Finish);
}

TEST_F(RunModes, AnExtendedKeyMakesTwoSteps) {
  start_run(10, 5);
  script_key_events({{scan::kDown, true}}, ScriptEnd::EndOfInput);
  turns(100);
  EXPECT_EQ(run.step_count, 2);
}

TEST_F(RunModes, EndOfInputEndsTheRunLikeV) {
  start_run(10, 5);
  script_keys("ab", ScriptEnd::EndOfInput);
  EXPECT_EQ(turns(100), 2);
  EXPECT_EQ(run.run_mode, RunMode::Finish);
}

TEST_F(RunModes, VAtTheFirstWaitEndsWithoutAMove) {
  start_run(10, 5);
  script_keys("v");
  EXPECT_EQ(turns(100), 0);
  EXPECT_EQ(run.step_count, 0);
  EXPECT_EQ(run.run_mode, RunMode::Finish);
}

TEST_F(RunModes, NormalRunsWithoutWaitingAndDrawsEveryMove) {
  start_run(5, 2);
  script_keys("n");
  EXPECT_EQ(turns(40), 40);
  EXPECT_EQ(run.run_mode, RunMode::Normal);
  EXPECT_EQ(run.strip.panel.bar_count, 41);
  // The strip's 41st bar (slot 40) stands at x = 329 + 2*40 + 2; slot 41 is still empty.
  const int top = panel_bar_top(run.strip.panel, strip_value(run.strip, 40));
  EXPECT_EQ(get_pixel(329 + 80 + 2, top), 15);
  if (top < 457) {
    EXPECT_EQ(get_pixel(329 + 80 + 2, top - 1), 0);
  }
  EXPECT_EQ(get_pixel(329 + 82 + 2, 457), 0);
}

// A drawing turn draws under one hold of the drawing lock, so that a repaint never shows half of
// it (the status box cleared without its number); the key wait stays outside. A quiet turn that
// halves no scale draws nothing and takes no lock.
TEST_F(RunModes, EachDrawingTurnTakesTheDrawingLockOnceAndAQuietOneNone) {
  start_run(140, 70);
  for (const auto& [keys, locks_each] : {std::pair{"nnnnnn", 1u}, std::pair{"cccccc", 0u}}) {
    SCOPED_TRACE(keys);
    script_keys(keys, ScriptEnd::EndOfInput);
    const int64_t steps = run.step_count;
    const uint64_t locks = drawing_lock_count();
    while (run_turn(run)) {
    }
    EXPECT_EQ(run.step_count - steps, 6);
    EXPECT_EQ(drawing_lock_count() - locks, 6 * locks_each);
    run.run_mode = RunMode::Normal;
  }
}

TEST_F(RunModes, QuietDrawsOnlyTheStatusBoxAndHalvings) {
  start_run(140, 70);
  script_keys("c");
  turns(1);
  const double scale = run.empirical_panel.scale;
  const std::vector<uint8_t> before = snapshot();
  turns(10);  // no bar of 141 reaches 17 counts in 12 steps: no halving
  ASSERT_EQ(run.empirical_panel.scale, scale);
  EXPECT_TRUE(only_status_changed(before, snapshot()));
  EXPECT_EQ(run.strip.panel.bar_count, 12);
}

TEST_F(RunModes, HalvingRedrawsTheEmpiricalPanelEvenWhenQuiet) {
  start_run(5, 2);
  script_keys("C");
  turns(1);
  const std::vector<uint8_t> before = snapshot();
  turns(60);  // with 6 bars some count passes 16 within 60 steps
  ASSERT_LT(run.empirical_panel.scale, 5.0);
  const std::vector<uint8_t> after = snapshot();
  const int width = 640;
  bool panel_changed = false;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    const int x = static_cast<int>(i) % width;
    const int y = static_cast<int>(i) / width;
    const bool in_status = x >= 551 && y <= 15;
    const bool in_panel = x >= 9 && x <= 310 && y >= 359 && y <= 459;
    ASSERT_TRUE(in_status || in_panel) << x << "," << y;
    panel_changed |= in_panel;
  }
  EXPECT_TRUE(panel_changed);
}

TEST_F(RunModes, LeavingQuietRedrawsPanelsAndBoxes) {
  start_run(20, 10);
  script_keys("C");
  turns(300);
  script_keys("N");
  turns(1);
  const std::vector<uint8_t> redrawn = snapshot();
  // Drawing the whole picture again from the state must change nothing.
  redraw_after_quiet(run);
  EXPECT_EQ(snapshot(), redrawn);
  // The boxes show the insects where they now are.
  for (int i = 1; i <= 20; ++i) {
    const InsectRecord& insect = run.insects[i];
    const int x = box_origin_x(insect.box) + run.cell_size * (insect.column - 1);
    const int y = 20 + run.cell_size * (insect.row - 1);
    EXPECT_EQ(get_pixel(x + run.cell_size - 1, y + run.cell_size - 1), 8) << i;
  }
}

TEST_F(RunModes, CInQuietRedrawsNothing) {
  start_run(140, 70);
  script_keys("C");
  turns(2);
  const std::vector<uint8_t> before = snapshot();
  script_keys("c");
  turns(1);
  EXPECT_TRUE(only_status_changed(before, snapshot()));
  EXPECT_EQ(run.run_mode, RunMode::Quiet);
}

TEST_F(RunModes, LargeSurfacesScaleTheLayout) {
  for (const auto& size : {std::pair{1920, 1017}, std::pair{7680, 4320}}) {
    reset_run_state(run);
    use_surface_size(size.first, size.second);
    start_run(5, 2);
    EXPECT_EQ(run.cell_size, (size.second - 1 - 30) / 6);
    EXPECT_EQ(get_pixel(6, size.second / 2), 15);
    EXPECT_EQ(get_pixel(size.first - 6, size.second / 2), 15);
    script_keys("N");
    turns(160);  // fills the strip and scrolls it
    EXPECT_EQ(run.strip.panel.bar_count, 141);
    const int c = run.cell_size;
    const InsectRecord& insect = run.insects[1];
    const int x = box_origin_x(insect.box) + c * (insect.column - 1);
    const int y = 20 + c * (insect.row - 1);
    EXPECT_EQ(get_pixel(x, y), 15);          // the picture's top-left edge
    EXPECT_EQ(get_pixel(x + c - 1, y + c - 1), 8);  // its dark grey inside
  }
}

// Input that ends while the step-by-step run already waits for a key used to end the program
// with run-time error 100; it ends the run as V does, however the end comes.
TEST_F(RunModes, InputEndingDuringTheStepwiseWaitEndsTheRunLikeV) {
  start_run(10, 5);
  std::thread ender([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    push_end_of_input();
  });
  int made = -1;
  EXPECT_NO_THROW(made = turns(100));
  ender.join();
  EXPECT_EQ(made, 0);
  EXPECT_EQ(run.run_mode, RunMode::Finish);
}

// The terminal asks for a redraw after a resize by waking the key wait; the running modes never
// wait for a key, so they used to leave the terminal unredrawn (and a too small one without its
// notice) until the run ended. Each turn now serves a pending wake-up, once.
TEST_F(RunModes, AWakeUpWhileNormalOrQuietRunningIsServedWithinATurn) {
  for (const char mode : {'n', 'c'}) {
    start_run(10, 5);
    script_keys(std::string(1, mode));
    turns(1);
    int served = 0;
    const ScopedHost hosted([&served](Host& record) {
      record.idle_hook = [&served] { ++served; };
    });
    wake_key_wait();
    turns(1);
    EXPECT_EQ(served, 1) << mode;
    turns(10);
    EXPECT_EQ(served, 1) << mode;
  }
}
