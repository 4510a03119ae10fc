// Keeping the pace of normal running.
#include "sim/pace.h"

#include "services/console/keyboard.h"
#include "sim/run_state.h"

namespace {

constexpr int32_t kPaceForDigit[10] = {0, 1, 3, 10, 30, 100, 300, 1000, 3000, 10000};

// The real clock: steady time, and a sleep on the key queue that a key cuts short.
class SteadyPaceClock : public PaceClock {
 public:
  PaceTime now() override {
    return std::chrono::duration_cast<PaceTime>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  void wait_until(PaceTime due) override {
    wait_for_key_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(due)));
  }
};

SteadyPaceClock steady_clock;
PaceClock* the_clock = &steady_clock;

PaceTime interval_of(int32_t steps_per_second) {
  return std::chrono::duration_cast<PaceTime>(std::chrono::seconds(1)) / steps_per_second;
}

}  // namespace

void set_pace_clock(PaceClock* clock) { the_clock = clock != nullptr ? clock : &steady_clock; }

int32_t pace_for_key(int key) { return key >= '0' && key <= '9' ? kPaceForDigit[key - '0'] : -1; }

void pace_key(int key) {
  const int32_t pace = pace_for_key(key);
  if (pace < 0) return;
  run.pace = pace;
  run.pace_started = false;
}

bool pace_holds_back() {
  if (run.run_mode != RunMode::Normal || run.pace == 0) {
    run.pace_started = false;  // the next paced run starts its count afresh
    return false;
  }
  const PaceTime interval = interval_of(run.pace);
  PaceTime now = the_clock->now();
  if (!run.pace_started) {
    run.pace_started = true;
    run.pace_due = now;
  }
  while (now < run.pace_due) {
    the_clock->wait_until(run.pace_due);
    if (key_pressed() || end_of_input()) return true;
    now = the_clock->now();
  }
  run.pace_due = now - run.pace_due >= interval ? now + interval : run.pace_due + interval;
  return false;
}
