// The run screen: opens the surface for the run and draws the outer frame, the title box, the
// status box, the key legend, the chart frames and the boxes. Positions come from get_max_x and
// get_max_y; on a 640x480 surface the frame is (6, 6)-(634, 474), the title box (263, 0)-(374, 15),
// the status box (551, 0)-(639, 15) and the legend (75, 465)-(562, 479).
#pragma once

#include <string>

void draw_run_screen();

// Redraws the status box with the step number, in every run mode.
void draw_status_box();

// " T:" and the step number right-aligned in 5 characters (longer numbers take what they need).
std::string status_text(int64_t step_count);

// Opens the surface with automatic selection, as both openings of a run do.
void open_run_surface();
