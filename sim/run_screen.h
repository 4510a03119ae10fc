// The run screen: opens the surface for the run and draws the outer frame, the title box, the
// status box, the key legend, the chart frames and the boxes. Positions come from get_max_x and
// get_max_y; on a 640x480 surface the frame is (6, 6)-(634, 474), the title box (263, 0)-(374, 15),
// the status box (551, 0)-(639, 15) and the legend (75, 465)-(562, 479).
#pragma once

#include <string>
#include <string_view>

void draw_run_screen();

// Redraws the status box with the step number, in every run mode.
void draw_status_box();

// The status box's width in characters for a status text: ten while the text begins " T:" (up to
// seven digits); from eight digits on one more than the text, at least eleven, so that the text,
// centred as ever, stands inside the box's outline. The box grows to the left of its right edge.
int status_box_characters(std::string_view text);

// " T:" and the step number right-aligned in 5 characters (longer numbers take what they need);
// from 8 digits on without the leading blank, from 9 digits on the number alone.
std::string status_text(int64_t step_count);

// Opens the surface with automatic selection, as both openings of a run do.
void open_run_surface();
