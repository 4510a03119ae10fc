// The graphics surface as the programs see it: one process-wide surface with its drawing state,
// shown by a presenter (a window, or nothing in tests).
//
// Conventions, stated once: x grows to the right and y downward from (0, 0) at the top left;
// rectangles are inclusive of both corners; coordinates are relative to the viewport unless said
// otherwise; angles are degrees counter-clockwise from east. Colours are palette indices 0..255.
// Every operation takes the drawing lock that the window's repaint takes too, so a repaint never
// shows half an operation; a DrawingBatch makes several operations one such unit. Operations
// that reject their arguments set graph_result and change nothing else. Drawing while no surface
// is open throws GraphicsNotOpen, which the program entry turns into a clear message and exit
// code 1.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "services/graphics/drawing_types.h"
#include "services/program/run_time_error.h"  // GraphicsNotOpen

// driver 0 asks for automatic selection (the largest window the desktop allows); the path is
// accepted and not used. On success graph_result is 0 and the drawing state is reset.
void open_graphics(int16_t& driver, int16_t& mode, std::string_view driver_path);
void close_graphics();
void leave_graphics_mode();
int graph_result();  // the last result, reset to 0 by reading it

int16_t get_max_x();
int16_t get_max_y();

void set_viewport(int x1, int y1, int x2, int y2, Clipping clip);  // absolute coordinates
void clear_viewport();
void set_fill(FillPattern pattern, int colour);
void fill_bar(int x1, int y1, int x2, int y2);
void draw_rectangle(int x1, int y1, int x2, int y2);
void draw_line(int x1, int y1, int x2, int y2);
void set_line_style(LineStyle style, uint16_t pattern, LineThickness thickness);
void draw_arc(int x, int y, uint16_t start_angle, uint16_t end_angle, uint16_t radius);
void flood_fill(int x, int y, int border_colour);
void set_text_justify(HorizontalJustify horizontal, VerticalJustify vertical);
void draw_text(int x, int y, std::string_view cp852_text);
int text_width(std::string_view cp852_text);
int text_height(std::string_view cp852_text);
int32_t image_size(int x1, int y1, int x2, int y2);
// Copies the rectangle into `buffer`, which must hold image_size(x1, y1, x2, y2) bytes.
void get_image(int x1, int y1, int x2, int y2, uint8_t* buffer);
void put_image(int x, int y, const uint8_t* buffer, PutMode mode);
// Copies the rectangle so that its top-left pixel lands at (x, y), as get_image followed by
// put_image would (clipped alike) but in place, without a buffer; the two may overlap.
void move_region(int x1, int y1, int x2, int y2, int x, int y);
// The colour of a surface pixel (absolute coordinates), read back as the lowest palette index
// of the same colour; 0 outside the surface.
uint8_t get_pixel(int x, int y);
// The whole surface as a PNG file (png_image.h): its exact palette indices through the palette.
std::vector<uint8_t> surface_png();

// A drawing left to be done when the surface is next used. A caller that would draw at every
// step only to have most of it drawn over by the next (the status box while running quietly)
// may hand in the function that draws it instead. The function runs once, under the drawing
// lock, on whichever thread next takes the lock or reads the surface: before the next drawing
// operation or batch of any thread, before a repaint's copy (surface_mirror.h), before
// current_surface and take_surface_changes answer (presenter.h), before the surface opens or
// closes. So whoever uses the surface finds it as if the drawing had been done when it was
// deferred, as long as the deferring thread draws nothing in between without the lock (it
// cannot: every operation takes it). The function must only call these operations and read
// what the drawing lock or atomics guard, and must leave the drawing state as the deferring
// thread left it; deferring again before it has run leaves one run of it, which must show the
// latest state. Only one function may be deferred at a time. With no surface open the drawing
// is dropped.
using DeferredDrawing = void (*)();
void defer_drawing(DeferredDrawing drawing);

// Holds the drawing lock from construction to destruction on the constructing thread, so that
// the drawing operations this thread calls meanwhile do not take it again and a repaint shows
// all of them or none. Batches nest; only the outermost takes and releases the lock. Keep a
// batch short and never wait for input inside it, and never open or close the surface in one:
// the window's thread may need the lock before it can answer (checked by assertion).
class DrawingBatch {
 public:
  DrawingBatch();
  ~DrawingBatch();
  DrawingBatch(const DrawingBatch&) = delete;
  DrawingBatch& operator=(const DrawingBatch&) = delete;
};
