// The run screen: opens the surface for the run and draws the outer frame, the title box, the
// status box as it stands before the first step, the key legend, the chart frames and the boxes.
// Positions come from get_max_x and get_max_y, and the title box and the legend are as wide as
// their texts; on a 640x480 surface with the Hungarian texts the frame is (6, 6)-(634, 474), the
// title box (263, 0)-(374, 15), the status box (551, 0)-(639, 15) and the legend
// (75, 465)-(562, 479). The status box's drawing at each step is status_box.h's.
#pragma once

#include "sim/run_state.h"

// Opens the surface for the run and draws the screen, the boxes from the run's model; the status
// box shows " T:" alone. The run's screen is the graphics screen from then on.
void draw_run_screen(RunState& run);

// Opens the surface with automatic selection, as both openings of a run do; the status box
// forgets what it showed.
void open_run_surface();
