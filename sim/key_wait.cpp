// The key routine of both screens and the run-key table.
#include "sim/key_wait.h"

#include "services/console/keyboard.h"
#include "sim/pace.h"
#include "sim/text_frame.h"

namespace {

// The run-key wait of the graphics screen. When input has ended, before or during the wait, it
// acts as V, so a run fed from a file ends instead of spinning. A digit also sets the pace. The
// running modes do not wait, so they serve a wake-up (a resized terminal's redraw) here.
int run_key_wait(RunState& run) {
  int key = kNoKey;
  if (run.run_mode == RunMode::Stepwise) {
    key = read_key_or_end();
    if (key == kInputEnded) key = 'V';
  } else {
    serve_pending_wake_up();
    if (key_pressed()) {
      key = read_key();
    } else if (end_of_input()) {
      key = 'V';
    }
  }
  if (key == kNoKey) return key;
  run.run_mode = mode_for_key(key, run.run_mode);
  pace_key(run, key);
  return key;
}

}  // namespace

RunMode mode_for_key(int key, RunMode current) {
  switch (key) {
    case 'C': case 'c': return RunMode::Quiet;
    case 'L': case 'l': return RunMode::Stepwise;
    case 'N': case 'n': return RunMode::Normal;
    case 'V': case 'v': return RunMode::Finish;
    default: return current;
  }
}

int key_wait(RunState& run) {
  return run.screen_state == ScreenState::Text ? page_prompt() : run_key_wait(run);
}
