// The run's choices made on the command line: the seed (0 gives the run the programs always gave,
// another seed another run that repeats), the answers given in advance (no prompt shown for
// them) and the help pages left out.
#include <string>

#include "program_fixture.h"
#include "services/program/run_choices.h"

namespace {

class RunChoicesTest : public ProgramTest {
 protected:
  // What tells one run from another: every insect's cell and the empirical distribution.
  std::string fingerprint() const {
    std::string text =
        "T" + std::to_string(run.step_count) + " K" + std::to_string(run.box1_count) + ":";
    for (int i = 1; i <= run.insect_count; ++i) {
      const InsectRecord& insect = run.insects[i];
      text += " " + std::to_string(insect.box) + "/" + std::to_string(insect.column) + "/" +
              std::to_string(insect.row);
    }
    for (int i = 0; i < run.empirical_panel.bar_count; ++i) {
      text += " " + std::to_string(run.empirical_panel.values[i]);
    }
    return text;
  }

  // A run of 40 steps with N = 12, K = 4 answered in advance and the help left out.
  std::string run_with_seed(uint32_t seed) {
    const ScopedRunChoices choices({seed, 12, 4, true, ""});
    EXPECT_EQ(run_program(std::string(40, 'L') + "V").exit_code, 0);
    return fingerprint();
  }
};

}  // namespace

TEST_F(RunChoicesTest, SeedZeroGivesTodaysRunAndAnotherSeedAnotherRunThatRepeats) {
  EXPECT_EQ(run_program("h12\r4\r" + std::string(40, 'L') + "V").exit_code, 0);
  const std::string today = fingerprint();
  EXPECT_EQ(run_with_seed(0), today);
  const std::string seven = run_with_seed(7);
  EXPECT_NE(seven, today);
  EXPECT_EQ(run_with_seed(4294967295u), run_with_seed(4294967295u));
  EXPECT_EQ(run_with_seed(7), seven);
  EXPECT_EQ(run.seed, 7u);
}

// A prompt answered in advance reads no key: a typed answer would be taken for the run's keys.
TEST_F(RunChoicesTest, AnswersGivenInAdvanceAreNotAskedAndTheHelpCanBeLeftOut) {
  {
    const ScopedRunChoices choices({0, 20, 9, true, ""});
    EXPECT_EQ(run_program("V").exit_code, 0);
    EXPECT_EQ(run.insect_count, 20);
    EXPECT_EQ(run.start_box1_count, 9);
    EXPECT_EQ(run.step_count, 0);
  }
  const uint64_t prompts_without_help = page_prompts();
  {
    const ScopedRunChoices choices({0, 20, {}, false, ""});
    EXPECT_EQ(run_program("h7\rV").exit_code, 0);  // a key for the help, then K
    EXPECT_EQ(run.insect_count, 20);
    EXPECT_EQ(run.start_box1_count, 7);
    EXPECT_EQ(run.step_count, 0);
  }
  EXPECT_EQ(page_prompts(), 2 * prompts_without_help + 1);  // the help's one page prompt
}
