// The seams of a host whose logic may not block (the web page) or that hands in keys itself (a
// test driver): its own key wait, and the turn hook of the step loop.
#include "program_fixture.h"
#include "services/run_time_error.h"
#include "services/turn_hook.h"

namespace {

int waits = 0;
int hooked_turns = 0;

// The host's wait: the third time it is asked, a key arrives.
void wait_until_third_time() {
  if (++waits == 3) push_key({'x', false});
}

void count_turn() { ++hooked_turns; }

class KeyWaitFunction : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_keyboard();
    waits = 0;
    set_key_wait_function(wait_until_third_time);
  }
  void TearDown() override {
    set_key_wait_function(nullptr);
    set_key_wait_idle_hook(nullptr);
    reset_keyboard();
  }
};

TEST_F(KeyWaitFunction, ReadKeyWaitsTheHostsWayAndRunsTheIdleHookAfterEachWait) {
  int idle_runs = 0;
  set_key_wait_idle_hook([&idle_runs] { ++idle_runs; });
  EXPECT_EQ(read_key(), 'x');
  EXPECT_EQ(waits, 3);
  EXPECT_EQ(idle_runs, 3);
}

TEST_F(KeyWaitFunction, AQueuedKeyOrTheEndOfInputNeedsNoWait) {
  push_key({'a', false});
  EXPECT_EQ(read_key(), 'a');
  push_end_of_input();
  EXPECT_THROW(read_key(), RunTimeError);
  EXPECT_EQ(waits, 0);
}

using TurnHookTest = ProgramTest;

TEST_F(TurnHookTest, TheStepLoopCallsTheHookOnceAfterEveryStep) {
  write_data_file("Zorvan.hlp", "A one-page help text.");
  hooked_turns = 0;
  set_turn_hook(count_turn);
  const LogicOutcome outcome = run_program("k10\r5\rabcV");  // three steps, then the end
  set_turn_hook(nullptr);
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(run.step_count, 3);
  EXPECT_EQ(hooked_turns, 3);
}

}  // namespace
