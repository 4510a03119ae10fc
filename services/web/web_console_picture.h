// The page's picture of the console: the core's console picture (console_picture.h) of the
// console model, in the font that shows largest in the page's space, and the same frame in RGBA
// for the console canvas, kept up to date cell by cell.
//
// The page fits the picture to its space (in device pixels) whenever that space changes, and
// sizes its canvas to the picture when the font changes; the next update then brings every
// cell. At each repaint the page calls web_console_picture_update once and puts onto its canvas
// exactly the rectangles it answers, taken from the RGBA frame: only the cells that changed, and
// the cursor's cell when the cursor came, went or blinked. Canvas and picture are then equal, and
// both equal the desktop window's picture of the same console in the same font.
#pragma once

#include <cstdint>

// Chooses the font whose 80 x 25 cells show largest in device_w x device_h device pixels, crisp
// at a whole multiple (console_font.h); a new font redraws the frame. Answers the font's index.
int web_console_picture_fit(int device_w, int device_h);

// Draws what changed in the console model since the last update, the cursor blinking on the
// page's clock when `cursor_allowed`, and converts it into RGBA. Returns how many rectangles
// changed (0: none); web_console_picture_boxes holds them. Nothing before the first fit.
int web_console_picture_update(bool cursor_allowed);

// The rectangles of the last update, four numbers each: x, y, width, height (frame pixels).
const int32_t* web_console_picture_boxes();

// The RGBA frame, row-major, web_console_picture_width() per row, and the palette indices it
// was converted from.
const uint32_t* web_console_picture_rgba();
const uint8_t* web_console_picture_indices();
int web_console_picture_width();
int web_console_picture_height();
