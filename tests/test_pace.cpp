// The pace of normal running, kept by a host of the test's own: steps fall due at the chosen
// rate, a key cuts a wait short, Stepwise and Quiet keep their own ways.
#include <algorithm>
#include <optional>
#include <string>

#include "program_fixture.h"
#include "sim/pace.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A host whose time passes only while it waits for a key; a key may be set to arrive at a given
// moment. A wait with no deadline and no key to come ends the input, so a test cannot hang.
class FakeHost {
 public:
  void wait(HostTime due) {
    ++waits;
    if (key_pressed() || end_of_input()) return;
    if (key_at && *key_at <= due) {
      now_ = std::max(now_, *key_at);
      script_keys(key);
      key_at.reset();
      return;
    }
    if (due == kNoDeadline) {
      push_end_of_input();
      return;
    }
    now_ = std::max(now_, due);
  }

  HostTime now_{seconds(100)};
  int waits = 0;
  std::optional<HostTime> key_at;  // when `key` is typed
  std::string key;
};

class Pace : public RunTest {
 protected:
  // Turns until the host's clock has advanced by `span` (or the run ends); the steps they made.
  int64_t steps_during(HostTime span) {
    const HostTime end = host_.now_ + span;
    const int64_t before = run.step_count;
    while (host_.now_ < end && turns(1) == 1) {
    }
    return run.step_count - before;
  }
  FakeHost host_;
  const ScopedHost fake_hosted_{[this](Host& record) {
    record.clock = [this] { return host_.now_; };
    record.await_key = [this](HostTime due) { host_.wait(due); };
  }};
};

}  // namespace

TEST_F(Pace, NormalRunsWithoutLimitByDefault) {
  start_run(20, 10);
  EXPECT_EQ(run.pace, 0);
  script_keys("n");
  EXPECT_EQ(turns(500), 500);
  EXPECT_EQ(host_.waits, 0);
}

TEST_F(Pace, DigitsChooseTheStepsASecond) {
  const int expected[] = {0, 1, 3, 10, 30, 100, 300, 1000, 3000, 10000};
  for (int digit = 0; digit <= 9; ++digit) EXPECT_EQ(pace_for_key('0' + digit), expected[digit]);
  EXPECT_EQ(pace_for_key('a'), -1);
  EXPECT_EQ(pace_for_key(0), -1);
}

TEST_F(Pace, PaceThreeMakesTenStepsASecond) {
  start_run(20, 10);
  script_keys("3n");  // in Stepwise the digit is a step of its own; N makes the first paced one
  turns(2);
  const int64_t steps = steps_during(seconds(3));
  EXPECT_GE(steps, 24);
  EXPECT_LE(steps, 36);
  EXPECT_EQ(host_.waits, steps);  // one sleep per step: nothing spins
}

TEST_F(Pace, EveryPaceKeepsItsRateOverASecond) {
  for (int digit = 1; digit <= 9; ++digit) {
    start_run(20, 10);
    script_keys(std::string(1, static_cast<char>('0' + digit)) + "n");
    turns(2);
    const int rate = pace_for_key('0' + digit);
    const int64_t steps = steps_during(seconds(1));
    EXPECT_GE(steps, rate) << digit;
    EXPECT_LE(steps, rate + 1) << digit;
  }
}

TEST_F(Pace, AKeyIsTakenAtOnceAtEveryPace) {
  for (int digit = 1; digit <= 9; ++digit) {
    start_run(20, 10);
    script_keys(std::string(1, static_cast<char>('0' + digit)) + "n");
    turns(3);
    // V typed a third of the way into the wait for the next step ends the run right then.
    const HostTime interval =
        std::chrono::duration_cast<HostTime>(seconds(1)) / pace_for_key('0' + digit);
    const HostTime typed = host_.now_ + interval / 3;
    host_.key_at = typed;
    host_.key = "v";
    const int64_t steps = run.step_count;
    EXPECT_EQ(turns(1000), 0) << digit;
    EXPECT_EQ(run.step_count, steps) << digit;
    EXPECT_EQ(host_.now_, typed) << digit;
  }
}

TEST_F(Pace, AKeyThatIsNoRunKeyKeepsThePaceGoing) {
  start_run(20, 10);
  script_keys("1n");  // one step a second
  turns(2);
  const HostTime start = host_.now_;
  host_.key_at = start + milliseconds(300);
  host_.key = " ";
  EXPECT_EQ(turns(1), 1);
  EXPECT_EQ(host_.now_, start + seconds(1));  // the blank was read, the step still waited
  EXPECT_EQ(run.run_mode, RunMode::Normal);
}

TEST_F(Pace, DigitsInStepwiseMakeAStepAndSetThePaceForNormal) {
  start_run(20, 10);
  script_keys("7");
  EXPECT_EQ(turns(1), 1);
  EXPECT_EQ(run.step_count, 1);
  EXPECT_EQ(run.pace, 1000);
  EXPECT_EQ(run.run_mode, RunMode::Stepwise);
  EXPECT_EQ(host_.waits, 0);
  script_keys("n");
  turns(1);
  EXPECT_EQ(steps_during(seconds(2)), 2000);
}

TEST_F(Pace, QuietIgnoresThePace) {
  start_run(20, 10);
  script_keys("1c");
  turns(2);
  EXPECT_EQ(turns(1000), 1000);
  EXPECT_EQ(host_.waits, 0);
  EXPECT_EQ(run.pace, 1);
}

TEST_F(Pace, ZeroInNormalLiftsTheLimit) {
  start_run(20, 10);
  script_keys("1n");
  turns(2);
  script_keys("0");
  const int waits = host_.waits;
  EXPECT_EQ(turns(100), 100);
  EXPECT_EQ(host_.waits, waits);
}
