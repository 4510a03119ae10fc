// The run modes and their keys.
//
//   key   mode        the step loop
//   N n   Normal      steps follow each other without pause; everything is drawn
//   L l   Stepwise    each turn waits for one key; everything is drawn
//   C c   Quiet       no pause; only the status box (and scale halvings) are drawn
//   V v   Finish      the loop ends
//
// Any other key leaves the mode as it is (in Stepwise it still makes one step). Leaving Quiet
// for Normal or Stepwise brings the whole picture up to date.
#pragma once

#include "sim/key_wait.h"

// Looks at the keyboard once (waiting in Stepwise), applies the key, and redraws everything when
// the user leaves quiet running. True when the run is to end.
bool poll_run_keys(RunState& run);

// The redraw done on leaving quiet running: the version's panels in order, then the boxes.
void redraw_after_quiet(RunState& run);
