// The 8-bit drawing surface: a width x height buffer of palette indices and the drawing state,
// with every drawing operation of the programs. Pure and deterministic: it knows nothing of
// windows, locks or threads (graphics.cpp wraps it for the programs).
//
// Coordinates: x to the right, y downward, (0, 0) top left; rectangles inclusive of both
// corners; operation arguments are relative to the viewport origin and expected to stay within
// the 16-bit range the programs use. Angles are degrees counter-clockwise from east. Every pixel
// write passes the clip step (or a span writer that clipped first): with clipping on nothing
// outside the viewport changes, and nothing outside the surface ever does.
//
// A rejected argument sets the result (graph_result) to -11 and changes nothing else.
//
// The surface also records where it has changed (ChangedRegion), so that whoever shows it can
// copy out only those parts: each drawing operation adds the box it may have written, clipped.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "services/graphics/drawing_types.h"

struct DrawingState {
  uint8_t colour = 15;          // drawing colour (never changed by the programs)
  uint8_t background = 0;
  FillPattern fill_pattern = FillPattern::Solid;
  uint8_t fill_colour = 255;
  LineStyle line_style = LineStyle::Solid;
  uint16_t line_pattern = 0xFFFF;
  LineThickness thickness = LineThickness::Normal;
  int view_x1 = 0, view_y1 = 0, view_x2 = 0, view_y2 = 0;  // absolute, inclusive
  Clipping clip = Clipping::On;
  HorizontalJustify justify_horizontal = HorizontalJustify::Left;
  VerticalJustify justify_vertical = VerticalJustify::Top;
  int result = 0;               // graph_result
};

// A rectangle of surface pixels: absolute coordinates, both corners inclusive; empty when
// x2 < x1 or y2 < y1.
struct SurfaceBox {
  int x1, y1, x2, y2;
  bool empty() const { return x2 < x1 || y2 < y1; }
  int64_t area() const { return empty() ? 0 : int64_t{x2 - x1 + 1} * (y2 - y1 + 1); }
};

// Where a surface has changed: at most kMaxBoxes boxes that together cover every pixel written
// since the region was last taken. Boxes may overlap and may cover pixels that kept their
// colour. A box added is merged into one already held when that costs no extra pixels (or when
// the list is full: into the one it enlarges least).
class ChangedRegion {
 public:
  static constexpr int kMaxBoxes = 8;
  void add(SurfaceBox box);  // the caller keeps the box on the surface
  void clear() { count_ = 0; }
  bool no_boxes() const { return count_ == 0; }
  int box_count() const { return count_; }
  const SurfaceBox* begin() const { return boxes_; }
  const SurfaceBox* end() const { return boxes_ + count_; }

 private:
  void absorb(int grown);

  SurfaceBox boxes_[kMaxBoxes];
  int count_ = 0;
};

class Surface {
 public:
  // Makes a black surface of the given size and resets the drawing state.
  void open(int width, int height);
  void close();
  bool is_open() const { return open_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int max_x() const { return width_ - 1; }
  int max_y() const { return height_ - 1; }
  const uint8_t* pixels() const { return pixels_.data(); }  // row-major, width() per row
  const DrawingState& state() const { return state_; }
  int take_result();  // graph_result: the last result, reset to 0
  // The region changed since the last call (the whole surface after open), and a fresh start.
  ChangedRegion take_changes();

  // Each operation below states its pixel rule beside its definition in surface.cpp.
  void set_viewport(int x1, int y1, int x2, int y2, Clipping clip);
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
  static int text_width(std::string_view cp852_text);
  static int text_height(std::string_view cp852_text);
  static int32_t image_size(int x1, int y1, int x2, int y2);
  void get_image(int x1, int y1, int x2, int y2, uint8_t* buffer) const;
  void put_image(int x, int y, const uint8_t* buffer, PutMode mode);
  void move_region(int x1, int y1, int x2, int y2, int x, int y);
  // Absolute coordinates; the lowest palette index of the pixel's colour; 0 off the surface.
  uint8_t get_pixel(int x, int y) const;

 private:
  using Box = SurfaceBox;

  // The one door to the pixels: these clip against clip_ and then write.
  void plot(int x, int y, uint8_t colour);
  void span(int x1, int x2, int y, uint8_t colour);
  void pattern_span(int x1, int x2, int y);
  void block(int x1, int y1, int x2, int y2, uint8_t colour);
  void rectangle(int x1, int y1, int x2, int y2, uint8_t colour);

  void touch(int x1, int y1, int x2, int y2);  // records a box written, clipped to clip_
  void reject();  // result := -11, invalid argument
  void update_clip();
  SurfaceBox clip_placement(int64_t left, int64_t top, int64_t width, int64_t height) const;
  uint8_t read(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  bool line_bit(int step) const;
  void line_absolute(int x1, int y1, int x2, int y2);
  void horizontal_line(int x1, int x2, int y);
  void vertical_line(int x, int y1, int y2);
  void bresenham_line(int x1, int y1, int x2, int y2);
  void line_dot(int x, int y, bool steep);
  void arc_ring(int cx, int cy, int start, int end, int radius);
  void draw_glyph(int x, int y, uint8_t code);
  void glyph_rows(int x, int y, std::string_view cp852_text);
  void read_row(int x, int y, int count, uint8_t* out) const;
  void move_row(int to_y, int64_t from_y, int first_x, int last_x, int64_t shift);

  class FloodFill;
  friend class FloodFill;

  bool open_ = false;
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;
  DrawingState state_;
  Box clip_{0, 0, -1, -1};  // where writes may land: the viewport (clipping on) or the surface
  ChangedRegion changes_;   // written since take_changes
};

// The 256-colour palette: 0..15 the classic sixteen colours, 16..255 the standard default
// 256-colour palette. Each entry is 0xRRGGBB.
extern const uint32_t kPalette[256];
// For each index, the lowest index with the same colour (how a pixel reads back).
uint8_t canonical_colour(uint8_t index);
// The same mapping as a 256-entry table, for loops over many pixels.
extern const uint8_t* const kCanonicalColour;
