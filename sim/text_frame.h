// The text frame of the 80x25 console and the page prompt.
//
// The frame: a border of dark shade blocks (byte 178) on rows 1 and 24 and columns 1 and 80,
// the bright title over the middle of the top edge (" Szimuláció " at columns 34..45), and the
// inner window, columns 3..78 and rows 3..23, that text goes to. Row 25 lies outside the frame
// and holds the page prompt from column 35 on ("Lapozhatunk?" at 35..46) with its spinner right
// after it (column 47). The texts are those of the language in use (messages.h).
#pragma once

#include <cstdint>
#include <string>

#include "sim/run_state.h"

// Clears the console, draws the frame and leaves output in the inner window at its top left;
// the run's screen is the text screen from then on (the graphics mode left if it was up).
void draw_text_frame(RunState& run);

// The spinner's shapes, in the order it turns through them.
constexpr char kSpinnerShapes[] = "-\\|/";

// Shows the page prompt, turning the spinner \ | / - every 100 ms, until a key is pressed, and
// returns it. When input has ended it returns 0 at once, as if a key had been pressed.
uint8_t page_prompt();

// The title of the frame and of the run screen, in code page 852.
const std::string& title_text();
