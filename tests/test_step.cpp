// The model's step: placement, moves, and what each step records.
#include <vector>

#include "charts/theory.h"
#include "program_fixture.h"
#include "urn_model_checks.h"

using Step = RunTest;

namespace {

std::vector<int> placement(const RunState& run) {
  std::vector<int> cells;
  for (int i = 1; i <= run.insect_count; ++i) {
    cells.insert(cells.end(), {run.insects[i].box, run.insects[i].column, run.insects[i].row});
  }
  return cells;
}

}  // namespace

TEST_F(Step, SameAnswersGiveTheSameRun) {
  start_run(23, 9);
  const std::vector<int> first_placement = placement(run);
  script_keys("C");
  turns(500);
  const std::vector<int> first_end = placement(run);
  reset_run_state(run);
  reset_random();
  start_run(23, 9);
  EXPECT_EQ(placement(run), first_placement);
  script_keys("C");
  turns(500);
  EXPECT_EQ(placement(run), first_end);
}

TEST_F(Step, InsectsOneToKStartInBoxOne) {
  start_run(30, 12);
  for (int i = 1; i <= 30; ++i) EXPECT_EQ(run.insects[i].box, i <= 12 ? 1 : 2) << i;
  expect_consistent(run);
}

TEST_F(Step, AFullBoxLosesTheFirstInsect) {
  start_run(9, 0);
  script_keys("x");
  turns(1);
  EXPECT_EQ(run.box1_count, 1);
  reset_run_state(run);
  start_run(9, 9);
  script_keys("x");
  turns(1);
  EXPECT_EQ(run.box1_count, 8);
}

TEST_F(Step, AnInsectArrivingInAnEmptyBoxLandsTopLeft) {
  start_run(12, 0);
  script_keys("x");
  turns(1);
  int arrived = 0;
  for (int i = 1; i <= 12; ++i) {
    if (run.insects[i].box == 1) {
      ++arrived;
      EXPECT_EQ(run.insects[i].column, 1);
      EXPECT_EQ(run.insects[i].row, 1);
    }
  }
  EXPECT_EQ(arrived, 1);
}

TEST_F(Step, StateStaysConsistentAndEveryStepIsCounted) {
  start_run(140, 0);
  script_keys("C");
  turns(20000);
  expect_consistent(run);
  int64_t counted = 0;
  for (int i = 0; i < run.empirical_panel.bar_count; ++i) counted += run.empirical_panel.values[i];
  EXPECT_EQ(counted, run.step_count + 1);
  EXPECT_EQ(run.step_count, 20000);
  const int plot_height = panel_plot_height(run.empirical_panel);
  for (int i = 0; i <= 140; ++i) {
    EXPECT_LT(static_cast<long double>(run.empirical_panel.values[i]) * run.empirical_panel.scale,
              plot_height);
  }
}

TEST_F(Step, TheoryIsDrawnAtStepZero) {
  start_run(5, 2);
  const std::vector<int64_t> five(run.theory_panel.values.begin(),
                                  run.theory_panel.values.begin() + 6);
  EXPECT_EQ(five, (std::vector<int64_t>{8, 41, 82, 82, 41, 8}));
  EXPECT_EQ(get_pixel(10 + 0 * 50 + 2, 349 - 8), 15);  // bar 0 reaches y2 - 8
  EXPECT_EQ(get_pixel(10 + 0 * 50 + 2, 349 - 9), 0);
  reset_run_state(run);
  start_run(6, 2);
  const std::vector<int64_t> six(run.theory_panel.values.begin(),
                                 run.theory_panel.values.begin() + 7);
  EXPECT_EQ(six, (std::vector<int64_t>{4, 24, 61, 82, 61, 24, 4}));
}

TEST_F(Step, DistanceIsTakenOnceAtStepOne) {
  start_run(5, 2);
  EXPECT_EQ(run.first_step_distance, 0.0);
  script_keys("x");
  turns(1);
  const double at_step_one = panel_distance(run.empirical_panel, run.theory_panel);
  EXPECT_GT(at_step_one, 0.0);
  EXPECT_EQ(run.first_step_distance, at_step_one);
  script_keys("x");
  turns(1);
  EXPECT_EQ(run.first_step_distance, at_step_one);
}

TEST_F(Step, EndingAtTheFirstWaitMakesNoMove) {
  write_data_file("Zorvan.hlp", "");
  const LogicOutcome outcome = run_program("5\r2\rV");
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(run.step_count, 0);
  EXPECT_EQ(run.box1_count, 2);
  EXPECT_EQ(run.first_step_distance, 0.0);
  EXPECT_EQ(run.empirical_panel.values[2], 1);
  EXPECT_EQ(run.screen_state, ScreenState::Text);
}

TEST_F(Step, StripHoldsTheLatestCountsInEveryMode) {
  start_run(11, 5);
  std::vector<int> history = {run.box1_count};
  script_keys("N");
  for (int i = 0; i < 200; ++i) {
    if (i == 120) script_keys("C");
    turns(1);
    history.push_back(run.box1_count);
  }
  ASSERT_EQ(run.strip.panel.bar_count, 141);
  for (int k = 0; k < 141; ++k) {
    EXPECT_EQ(strip_value(run.strip, k), history[history.size() - 141 + k]) << k;
  }
}
