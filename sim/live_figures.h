// The run's figures as an edition shows them beside the picture (services/program/live_figures.h):
// T, the count in each box, N/2, the distances of the second version, the pace and the run mode.
#pragma once

#include "services/program/live_figures.h"
#include "sim/run_state.h"

// The figures of `run` now. The distance now is taken here, from the panels as they stand, so
// it costs a pass over the bars for each call and nothing for each step.
LiveFigures live_figures(const RunState& run);

// The run's figures and the pace keys as the source the editions read, while this lives: made
// beside the run by the program flow, it installs a reader of `run`; at its end, however the run
// ends, it leaves the figures the run then has in the reader's place, since an edition may read
// them after the run is gone (the page shows the last ones after the program has ended). The
// reader runs where the editions read (services/program/live_figures.h: the logic thread, or the
// page's one thread while the program waits), so `run` is never read in the middle of a turn.
class ScopedLiveFigures {
 public:
  explicit ScopedLiveFigures(const RunState& run);
  ~ScopedLiveFigures();
  ScopedLiveFigures(const ScopedLiveFigures&) = delete;
  ScopedLiveFigures& operator=(const ScopedLiveFigures&) = delete;

 private:
  const RunState& run_;
};
