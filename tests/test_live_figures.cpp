// The run's figures as the editions read them beside the picture: they follow the run as it
// changes, the program installs them when it starts, and its run's last ones stay when it ends.
#include <string>

#include "program_fixture.h"
#include "services/program/live_figures.h"
#include "services/program/run_choices.h"
#include "sim/live_figures.h"

namespace {

class LiveFiguresTest : public RunTest {
 protected:
  // Insects in box 1, counted from the insects themselves.
  int insects_in_box1() const {
    int count = 0;
    for (int i = 1; i <= run.insect_count; ++i) count += run.insects[i].box == 1 ? 1 : 0;
    return count;
  }
};

}  // namespace

TEST_F(LiveFiguresTest, FollowTheStepsTheBoxesThePaceAndTheDistance) {
  start_run(21, 5);
  const ScopedLiveFigures live(run);
  LiveFigures figures = read_live_figures();
  EXPECT_TRUE(figures.valid);
  EXPECT_EQ(figures.step_count, 0);
  EXPECT_EQ(figures.insect_count, 21);
  EXPECT_EQ(figures.box1_count, 5);
  EXPECT_EQ(figures.box2_count, 16);
  EXPECT_EQ(figures.half, 10.5);
  EXPECT_TRUE(figures.has_distance);
  EXPECT_EQ(figures.run_mode, static_cast<int32_t>(RunMode::Stepwise));

  script_keys("5");  // a step, and the pace for the next normal run
  ASSERT_EQ(turns(1), 1);
  figures = read_live_figures();
  EXPECT_EQ(figures.pace, 100);
  EXPECT_GT(figures.first_step_distance, 0.0);
  EXPECT_EQ(figures.distance, figures.first_step_distance) << "both are taken after step 1";

  script_keys(std::string(40, ' '));
  ASSERT_EQ(turns(40), 40);
  figures = read_live_figures();
  EXPECT_EQ(figures.step_count, 41);
  EXPECT_EQ(figures.box1_count, insects_in_box1());
  EXPECT_EQ(figures.box1_count + figures.box2_count, 21);
  EXPECT_NE(figures.distance, figures.first_step_distance) << "the distance now is not kept";
}

// The program's run is gone when the program has ended, and the page reads the figures then: they
// are the run's last ones.
TEST_F(LiveFiguresTest, TheProgramInstallsThemWithItsSeedAndTheFirstVersionHasNoDistance) {
  install_figures_source({});
  EXPECT_FALSE(read_live_figures().valid);

  const ScopedRunChoices choices({7, std::nullopt, std::nullopt, false, ""});
  script_keys("a20\r5\r  v", ScriptEnd::EndOfInput);
  const LogicOutcome outcome = run_logic_guarded([] { run_main_sequence(kFirstVersion); });
  EXPECT_EQ(outcome.exit_code, 0);
  const LiveFigures figures = read_live_figures();
  EXPECT_TRUE(figures.valid);
  EXPECT_EQ(figures.step_count, 2);
  EXPECT_EQ(figures.run_mode, static_cast<int32_t>(RunMode::Finish));
  EXPECT_EQ(figures.seed, 7u);
  EXPECT_FALSE(figures.has_distance);
  EXPECT_EQ(figures.distance, 0.0);
  EXPECT_EQ(figures.first_step_distance, 0.0);
}
