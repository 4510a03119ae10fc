// The recording of a step: what the status box and the charts show of the model after a move
// (the move itself is the model's, urn_model.h, and the box view shows it).
#pragma once

#include "sim/run_state.h"

// The status box with step_count (every mode; deferred while quiet, see status_box.h), then the
// charts: the empirical count, the strip value, the theoretical chart at step 0 and the distance
// at step 1 (where the version has them).
void record_step(RunState& run);
