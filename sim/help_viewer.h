// The help pages shown at program start.
#pragma once

#include "sim/run_state.h"

// Pages the help file "Zorvan.hlp" of the language in use (language_file: the current
// directory's for Hungarian), 18 lines a page, each line cut to 80 characters; a missing file
// gives a bright message and one page prompt.
void show_help(RunState& run);
