// The figures of the run in progress, for an edition that shows them beside the picture (the
// page's figures panel).
//
// The services know nothing of the run; the program flow does. When a program starts, it
// installs a source here: a reader, handed the run it reads, that takes the figures from the run
// at the moment it is called. An edition reads them when it likes (the page: a few times a
// second, between slices of turns), so the step loop pays nothing for them. When the run ends, the flow leaves its last figures here in place of the reader, so
// that they can still be read after the program has ended and its run is gone.
//
// Threads: a reader reads the run, which the logic thread writes, so it is called where the
// logic thread is not in the middle of a turn: on the logic thread itself (a test driver), or
// while the program waits (the page, which has one thread).
#pragma once

#include <cstdint>

struct LiveFigures {
  bool valid = false;              // false when no program has installed a source
  int64_t step_count = 0;          // T
  int32_t insect_count = 0;        // N, 0 until it has been entered
  int32_t box1_count = 0;          // insects in box 1 now (K until the run starts)
  int32_t box2_count = 0;          // insects in box 2 now
  double half = 0.0;               // N/2, the count each box drifts towards
  bool has_distance = false;       // the program compares the empirical and theoretical charts
  double distance = 0.0;           // their distance now (has_distance)
  double first_step_distance = 0;  // their distance taken at step 1 (has_distance)
  int32_t pace = 0;                // steps a second of normal running, 0 for no limit
  int32_t run_mode = 0;            // the run mode's value: Normal 0, Stepwise 1, Quiet 2, Finish 3
  uint32_t seed = 0;               // the generator's seed for this run
};

struct FiguresSource {
  LiveFigures (*figures)(const void* run) = nullptr;  // the figures now, read from `run`
  const void* run = nullptr;  // the run in progress, handed to `figures`; opaque here
};

// Program start: the source the editions read from here on. Its run must stay alive until
// keep_last_figures or another source replaces it.
void install_figures_source(const FiguresSource& source);

// The run has ended: from now on the figures read are `last`.
void keep_last_figures(const LiveFigures& last);

// The figures now; invalid (all zero) with no source installed.
LiveFigures read_live_figures();
