// Keeping the pace of normal running.
#include "sim/pace.h"

#include "services/console/keyboard.h"
#include "services/program/host.h"

namespace {

constexpr int32_t kPaceForDigit[10] = {0, 1, 3, 10, 30, 100, 300, 1000, 3000, 10000};

HostTime interval_of(int32_t steps_per_second) {
  return std::chrono::duration_cast<HostTime>(std::chrono::seconds(1)) / steps_per_second;
}

}  // namespace

int32_t pace_for_key(int key) { return key >= '0' && key <= '9' ? kPaceForDigit[key - '0'] : -1; }

void pace_key(RunState& run, int key) {
  const int32_t pace = pace_for_key(key);
  if (pace < 0) return;
  run.pace = pace;
  run.pace_started = false;
}

bool pace_holds_back(RunState& run) {
  if (run.run_mode != RunMode::Normal || run.pace == 0) {
    run.pace_started = false;  // the next paced run starts its count afresh
    return false;
  }
  const HostTime interval = interval_of(run.pace);
  HostTime now = host_now();
  if (!run.pace_started) {
    run.pace_started = true;
    run.pace_due = now;
  }
  while (now < run.pace_due) {
    wait_for_key_until(run.pace_due);
    if (key_pressed() || end_of_input()) return true;
    now = host_now();
  }
  run.pace_due = now - run.pace_due >= interval ? now + interval : run.pace_due + interval;
  return false;
}
