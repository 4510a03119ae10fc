// The one key routine. On the text screen it is the page prompt and always returns a key; on
// the graphics screen it is the run-key wait (Stepwise) or poll (Normal, Quiet), which maps the
// run keys onto the run's run_mode (and the digits onto its pace) and returns kNoKey when no key
// was waiting. The run's screen_state says which screen is up.
#pragma once

#include "sim/run_state.h"

constexpr int kNoKey = -1;

// The key read (0..255), or kNoKey.
int key_wait(RunState& run);

// The mode a run key selects, or `current` for any other code (0 included).
RunMode mode_for_key(int key, RunMode current);
