// One turn of the model: an insect moves, and the step is recorded.
#pragma once

// One insect, chosen at random among all N, flies into the other box. The first cell tried in
// the target box is column 1, row 1; only when it is taken are random cells drawn (column, then
// row) until a free one comes. The box view shows the move unless the run is quiet.
void move_insect();

// The status box with step_count (every mode; deferred while quiet, see status_box.h), then the
// charts: the empirical count, the strip value, the theoretical chart at step 0 and the distance
// at step 1 (where the version has them).
void record_step();
