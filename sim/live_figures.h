// The run state's figures as an edition shows them beside the picture (services/live_figures.h):
// T, the count in each box, N/2, the distances of the second version, the pace and the run mode.
#pragma once

#include "services/live_figures.h"

// The figures of the run state now. The distance now is taken here, from the panels as they
// stand, so it costs a pass over the bars for each call and nothing for each step.
LiveFigures live_figures();

// Installs live_figures and the pace keys as the source the editions read.
void install_live_figures();
