// The end of a run: the summary text paged in the text frame with the run's figures in place of
// its markers, then the closing line.
#pragma once

#include <string>

#include "charts/summary_text.h"
#include "sim/run_state.h"

// Closes the graphics surface, shows the empty frame and one page prompt, then pages the
// version's summary file of the language in use (19 file lines a page, each cut to 80
// characters, markers replaced), or a bright message when the file cannot be opened, and ends
// with the closing line ("Itt a vége fuss el véle!!!!") from column 25 of row 10 of the cleared
// screen. A `notice` (UTF-8: the run's files could not be saved) is shown bright on the empty
// frame, above its page prompt.
void show_summary(RunState& run, const std::string& notice = {});

// The figures of the run as it stands: T, N, the count of box 1, the distance taken at step 1
// and the distance now (both distances 0 for a version without the theoretical chart).
SummaryFigures run_figures(const RunState& run);
