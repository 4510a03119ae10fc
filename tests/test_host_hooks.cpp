// The seams of a host whose logic may not block (the web page) or that hands in keys itself (a
// test driver): its own key wait, with a deadline or without, the idle hook and the turn hook.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "services/program/host.h"
#include "services/program/run_time_error.h"

namespace {

using std::chrono::milliseconds;

int hooked_turns = 0;

void count_turn() { ++hooked_turns; }

TEST(HostKeyWait, ReadKeyWaitsTheHostsWayAndRunsTheIdleHookAfterEachWait) {
  reset_keyboard();
  std::vector<HostTime> deadlines;
  int idle_runs = 0;
  const ScopedHost hosted([&](Host& record) {
    record.await_key = [&deadlines](HostTime deadline) {  // a key comes at the third wait
      deadlines.push_back(deadline);
      if (deadlines.size() == 3) push_key({'x', false});
    };
    record.idle_hook = [&idle_runs] { ++idle_runs; };
  });
  EXPECT_EQ(read_key(), 'x');
  EXPECT_EQ(deadlines, std::vector<HostTime>(3, kNoDeadline));
  EXPECT_EQ(idle_runs, 3);
}

TEST(HostKeyWait, AQueuedKeyOrTheEndOfInputNeedsNoWait) {
  reset_keyboard();
  int waits = 0;
  const ScopedHost hosted([&waits](Host& record) {
    record.await_key = [&waits](HostTime) { ++waits; };
  });
  push_key({'a', false});
  EXPECT_EQ(read_key(), 'a');
  push_end_of_input();
  EXPECT_THROW(read_key(), RunTimeError);
  wait_for_key_until(kNoDeadline);
  EXPECT_EQ(waits, 0);
  reset_keyboard();
}

// The host's wait is given the deadline and asked again while it returns early (as a page timer
// may); a key or the deadline ends the wait. Nothing goes through the console.
TEST(HostKeyWait, AWaitWithADeadlineEndsOnAKeyOrAtTheDeadline) {
  HeadlessConsole console;
  HostTime now{0};
  std::optional<HostTime> key_at;
  int waits = 0;
  const ScopedHost hosted([&](Host& record) {
    record.clock = [&now] { return now; };
    record.await_key = [&](HostTime deadline) {  // returns after 4 ms at most
      ++waits;
      const HostTime until = std::min(deadline, now + milliseconds(4));
      if (key_at && *key_at <= until) {
        now = *key_at;
        push_key({'k', false});
        key_at.reset();
      } else {
        now = until;
      }
    };
  });
  wait_for_key_until(milliseconds(10));
  EXPECT_EQ(now, milliseconds(10));
  EXPECT_EQ(waits, 3);
  EXPECT_FALSE(key_pressed());
  key_at = milliseconds(15);
  wait_for_key_until(milliseconds(30));
  EXPECT_EQ(now, milliseconds(15));
  EXPECT_TRUE(key_pressed());
  waits = 0;
  wait_for_key_until(milliseconds(40));  // the key still waits to be read
  EXPECT_EQ(waits, 0);
  EXPECT_EQ(console.slept_ms(), 0u);
  EXPECT_EQ(console.present_count(), 0u);
}

using HostKeyWaitRun = RunTest;

// The page's one key wait serves the Stepwise key wait (no deadline) and the pace of Normal (a
// deadline a step); neither sleeps through the console.
TEST_F(HostKeyWaitRun, TheHostsKeyWaitServesTheStepwiseKeysAndThePace) {
  start_run(20, 10);
  HostTime now{0};
  std::vector<HostTime> deadlines;
  std::string keys = "5n";  // 100 steps a second, then Normal
  const ScopedHost hosted([&](Host& record) {
    record.clock = [&now] { return now; };
    record.await_key = [&](HostTime deadline) {
      deadlines.push_back(deadline);
      if (deadline != kNoDeadline) {
        now = deadline;
      } else if (!keys.empty()) {
        push_key({static_cast<uint8_t>(keys.front()), false});
        keys.erase(0, 1);
      }
    };
  });
  const uint64_t slept = console_.slept_ms();
  EXPECT_EQ(turns(5), 5);  // a step for each key in Stepwise, then three paced steps
  EXPECT_EQ(deadlines, (std::vector<HostTime>{kNoDeadline, kNoDeadline, milliseconds(10),
                                              milliseconds(20), milliseconds(30)}));
  EXPECT_EQ(console_.slept_ms(), slept);
}

using TurnHookTest = ProgramTest;

TEST_F(TurnHookTest, TheStepLoopCallsTheHookOnceAfterEveryStep) {
  write_data_file("Zorvan.hlp", "A one-page help text.");
  hooked_turns = 0;
  const ScopedHost hosted([](Host& record) { record.turn_hook = count_turn; });
  const LogicOutcome outcome = run_program("k10\r5\rabcV");  // three steps, then the end
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(run.step_count, 3);
  EXPECT_EQ(hooked_turns, 3);
}

}  // namespace
