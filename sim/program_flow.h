// The program's main sequence: help pages, parameter entry, the run screen, the step loop and
// the end of the run. Runs on the logic thread; the program entry hosts it.
//
// The flow owns the run: run_main_sequence makes one for the program and hands it by reference
// to every operation that reads or changes it. The operations below take the run they work on,
// so a test or a benchmark drives a run of its own through them.
#pragma once

#include <cstdint>

#include "sim/run_state.h"
#include "sim/version.h"

// The whole program for one version, from the help pages to the closing line of the summary, on
// a run of its own. From its start the editions can read the run's figures, and after its end
// the figures it ended with (services/program/live_figures.h).
void run_main_sequence(const VersionDescription& version);

// The same on `run`, started afresh for `version`; the run is left as the program ended it.
void run_main_sequence(RunState& run, const VersionDescription& version);

// The prompts for N and K, the measuring opening of the surface (panels, box view, insect
// picture) and the random placement. Leaves the surface closed and the prompts on the console.
void setup_run(RunState& run);

// The two number prompts alone (the first part of setup_run).
void ask_parameters(RunState& run);

// A coordinate of the 640x480 design grid on the open surface: trunc(v * max / 640 or 480).
int16_t scale_x(int16_t v);
int16_t scale_y(int16_t v);

// The start of a run, after the help pages: the prompts and the set-up (setup_run), the run
// screen, and step 0 recorded. The program, its tests and the benchmarks all start runs here.
void start_run(RunState& run);

// One turn of the step loop: the keyboard is looked at (waiting in Stepwise, and in a paced
// Normal run until the step is due); unless the run is to end, one insect moves (the box view
// shows it), T grows by one and the step is recorded. False when the run ends.
bool run_turn(RunState& run);
