// The page's picture of the surface: a mirror of the surface (surface_mirror.h) and the same
// frame in RGBA, the byte order of a canvas's ImageData, kept up to date box by box.
//
// The presenter gives the picture its size when the surface opens (the canvas is new and blank
// then too). At each repaint the page calls web_picture_update once and puts onto its canvas
// exactly the rectangles it answers, taken from the RGBA frame: only what changed since the last
// repaint, or the whole frame after an opening or a closing. Canvas and surface are then equal.
// The page's code runs only while the program waits, so the surface is whole at every update.
#pragma once

#include <cstdint>

// The surface opens at width x height: the frame is black, and the next update brings all of it.
void web_picture_open(int width, int height);

// Brings the frame up to date and converts what changed into RGBA. Returns how many rectangles
// changed (0: none); web_picture_boxes holds them.
int web_picture_update();

// The rectangles of the last update, four numbers each: x, y, width, height (frame pixels).
const int32_t* web_picture_boxes();

// The RGBA frame, row-major, web_picture_width() per row.
const uint32_t* web_picture_rgba();
int web_picture_width();
int web_picture_height();
