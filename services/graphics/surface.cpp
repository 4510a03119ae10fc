// The drawing operations of the 8-bit surface.
//
// Model: pixels_ holds one palette index per pixel, row-major, width_ per row. The drawing state
// (colour, fill, line style, viewport, justification, result) is state_; clip_ caches the box
// that writes may touch: the viewport with clipping on, the whole surface with clipping off.
// Operation arguments are relative to the viewport origin; every helper below them works in
// absolute surface coordinates. Pixels are written by plot, span, pattern_span and block, which
// clip against clip_ first, and by rectangle (clear_viewport's viewport, always on the surface,
// and fill_bar's one-colour rectangles, clipped first), the glyph rows that lie wholly inside
// clip_, and put_image and move_region (their rectangles clipped first).
//
// Changes: every operation that may write pixels adds the box it may have written to changes_
// once (touch, clipped to clip_), not pixel by pixel; the box may be larger than what changed,
// never smaller.
//
// Sections: changed region; state and viewport; pixel writers; bars; lines and rectangles; arcs;
// flood fill; text; images.
#include "services/graphics/surface.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <numbers>

#include "services/graphics/font8x8.h"

namespace {

constexpr int kMaxFillPattern = number_of(FillPattern::Last);
constexpr int kMaxLineStyle = number_of(LineStyle::User);
constexpr int kGlyphSize = 8;
constexpr int kImageHeaderBytes = 12;  // width, height, reserved: three 32-bit words
constexpr int kMaxFloodSeeds = 1023;

// Fill patterns as 8x8 bit masks, one byte per row, bit 7 the leftmost pixel of an aligned group
// of eight. Set bits take the fill colour and clear bits the background colour, so pattern 0 is
// the background colour and pattern 1 the fill colour. The patterns are anchored to the surface
// (pixel x, y uses row y mod 8, bit x mod 8), so neighbouring fills join seamlessly.
constexpr uint8_t kFillPatterns[kMaxFillPattern + 1][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // 0 empty (background)
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // 1 solid
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // 2 horizontal lines
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // 3 thin slashes
    {0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0, 0x81},  // 4 thick slashes
    {0xC0, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x81},  // 5 thick backslashes
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // 6 thin backslashes
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // 7 grid
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // 8 diagonal cross-hatch
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},  // 9 checker
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00},  // 10 sparse dots
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},  // 11 dense dots
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // 12 blocks
};

// For each glyph row byte, its eight pixels as one 64-bit word in memory order: 0xFF where a bit
// is set, the leftmost pixel (bit 7) in the lowest address.
// Built for a little-endian machine (x86-64 and WebAssembly alike): byte k of the word is its
// bits 8k..8k+7.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);
constexpr std::array<uint64_t, 256> kGlyphRowMasks = [] {
  std::array<uint64_t, 256> masks{};
  for (int bits = 0; bits < 256; ++bits) {
    uint64_t word = 0;
    for (int col = 0; col < kGlyphSize; ++col) {
      if (bits & (0x80 >> col)) word |= uint64_t{0xFF} << (8 * col);
    }
    masks[bits] = word;
  }
  return masks;
}();

// Line style masks, bit 15 first along the line; style 4 takes the caller's pattern.
constexpr uint16_t kLineStyles[kMaxLineStyle] = {0xFFFF, 0xCCCC, 0xF8E8, 0xF0F0};

// The two pixel-format loops below carry get_image and put_image. With 16-byte vectors they are
// bound by the number of stores, so on x86-64 Linux they are also built for AVX2 and the
// variant is picked when the program loads (about a fifth faster where AVX2 exists). GCC's
// ThreadSanitizer instruments the resolver that picks it, and the loader calls that resolver
// before the sanitizer's run time is ready, which crashes: such a build keeps the default loops.
#if defined(__x86_64__) && defined(__linux__) && defined(__has_attribute) && \
    !defined(__SANITIZE_THREAD__)
#if __has_attribute(target_clones)
#define WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef WIDE_VECTORS
#define WIDE_VECTORS
#endif

int32_t read_int32(const uint8_t* from) {
  int32_t value;
  std::memcpy(&value, from, sizeof value);
  return value;
}

void write_int32(uint8_t* to, int32_t value) { std::memcpy(to, &value, sizeof value); }

// Widens `count` indices into 16-bit canonical colour numbers at `out` (unaligned). Colours
// below 16 always read back as themselves, so the row is first copied as it is (one fast pass
// that also notes the colours seen) and looked up in the table only when it holds others.
WIDE_VECTORS void widen_canonical(const uint8_t* in, int count, uint8_t* out) {
  uint8_t seen = 0;
  for (int i = 0; i < count; ++i) {
    seen |= in[i];
    const uint16_t colour = in[i];
    std::memcpy(out + 2 * i, &colour, sizeof colour);
  }
  if (seen < 16) return;
  for (int i = 0; i < count; ++i) {
    const uint16_t colour = kCanonicalColour[in[i]];
    std::memcpy(out + 2 * i, &colour, sizeof colour);
  }
}

// Narrows `count` 16-bit colour numbers at `in` (unaligned) to indices; a number above 255
// keeps its low byte (get_image never writes one).
WIDE_VECTORS void narrow_colours(const uint8_t* in, int count, uint8_t* out) {
  for (int i = 0; i < count; ++i) {
    uint16_t colour;
    std::memcpy(&colour, in + 2 * i, sizeof colour);
    out[i] = static_cast<uint8_t>(colour);
  }
}

SurfaceBox united(const SurfaceBox& a, const SurfaceBox& b) {
  return {std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2), std::max(a.y2, b.y2)};
}

bool contains(const SurfaceBox& outer, const SurfaceBox& inner) {
  return outer.x1 <= inner.x1 && inner.x2 <= outer.x2 && outer.y1 <= inner.y1 &&
         inner.y2 <= outer.y2;
}

// The pixels a merge adds beyond those of the two boxes (negative where they overlap).
int64_t merge_cost(const SurfaceBox& a, const SurfaceBox& b) {
  return united(a, b).area() - a.area() - b.area();
}

// Sets `count` bytes to `colour`. Rows of a few glyph cells, as the status box's, are written
// eight bytes at a time: a call into memset costs more than such a row.
void fill_row(uint8_t* at, size_t count, uint8_t colour) {
  constexpr size_t kShortRow = 32;
  if (count >= kShortRow) {
    std::memset(at, colour, count);
    return;
  }
  const uint64_t eight = 0x0101010101010101u * colour;
  for (; count >= sizeof eight; count -= sizeof eight, at += sizeof eight) {
    std::memcpy(at, &eight, sizeof eight);
  }
  for (; count > 0; --count) *at++ = colour;
}

}  // namespace

// ---- Changed region ---------------------------------------------------------------------------

void ChangedRegion::add(SurfaceBox box) {
  if (box.empty()) return;
  int best = -1;
  int64_t best_cost = 0;
  for (int i = 0; i < count_; ++i) {
    if (contains(boxes_[i], box)) return;
    const int64_t cost = merge_cost(boxes_[i], box);
    if (best < 0 || cost < best_cost) {
      best = i;
      best_cost = cost;
    }
  }
  if (best < 0 || (best_cost > 0 && count_ < kMaxBoxes)) {
    boxes_[count_++] = box;
    return;
  }
  boxes_[best] = united(boxes_[best], box);
  absorb(best);
}

// Box `grown` has grown: every other box it can now take in at no cost joins it, until none is
// left, so the list does not fill up with boxes that one box would cover as well.
void ChangedRegion::absorb(int grown) {
  for (int j = 0; j < count_;) {
    if (j == grown || merge_cost(boxes_[grown], boxes_[j]) > 0) {
      ++j;
      continue;
    }
    boxes_[grown] = united(boxes_[grown], boxes_[j]);
    boxes_[j] = boxes_[--count_];
    if (grown == count_) grown = j;
    j = 0;
  }
}

ChangedRegion Surface::take_changes() {
  const ChangedRegion taken = changes_;
  changes_.clear();
  return taken;
}

void Surface::touch(int x1, int y1, int x2, int y2) {
  changes_.add(Box{std::max(x1, clip_.x1), std::max(y1, clip_.y1), std::min(x2, clip_.x2),
                   std::min(y2, clip_.y2)});
}

// ---- State and viewport ----------------------------------------------------------------------

void Surface::open(int width, int height) {
  assert(width > 0 && height > 0);
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * height, 0);
  state_ = DrawingState{};
  state_.view_x2 = max_x();
  state_.view_y2 = max_y();
  update_clip();
  changes_.clear();
  changes_.add(Box{0, 0, max_x(), max_y()});
  open_ = true;
}

void Surface::close() {
  open_ = false;
  width_ = height_ = 0;
  std::vector<uint8_t>().swap(pixels_);
  clip_ = Box{0, 0, -1, -1};
  changes_.clear();
}

int Surface::take_result() {
  const int result = state_.result;
  state_.result = 0;
  return result;
}

void Surface::reject() { state_.result = kGraphInvalidArgument; }

void Surface::update_clip() {
  if (state_.clip == Clipping::On) {
    clip_ = Box{state_.view_x1, state_.view_y1, state_.view_x2, state_.view_y2};
  } else {
    clip_ = Box{0, 0, max_x(), max_y()};
  }
}

// Absolute corners; rejected unless 0 <= x1 <= x2 <= max_x and 0 <= y1 <= y2 <= max_y, in which
// case the previous viewport stays.
void Surface::set_viewport(int x1, int y1, int x2, int y2, Clipping clip) {
  if (x1 < 0 || x1 > x2 || x2 > max_x() || y1 < 0 || y1 > y2 || y2 > max_y()) return reject();
  state_.view_x1 = x1;
  state_.view_y1 = y1;
  state_.view_x2 = x2;
  state_.view_y2 = y2;
  state_.clip = clip;
  update_clip();
}

// The whole viewport, whatever the clip flag, becomes the background colour; the current
// position returns to the viewport origin.
void Surface::clear_viewport() {
  const DrawingState& s = state_;
  rectangle(s.view_x1, s.view_y1, s.view_x2, s.view_y2, s.background);
  changes_.add(Box{s.view_x1, s.view_y1, s.view_x2, s.view_y2});
}

void Surface::set_fill(FillPattern pattern, int colour) {
  if (number_of(pattern) < 0 || number_of(pattern) > kMaxFillPattern || colour < 0 ||
      colour > 255) {
    return reject();
  }
  state_.fill_pattern = pattern;
  state_.fill_colour = static_cast<uint8_t>(colour);
}

void Surface::set_line_style(LineStyle style, uint16_t pattern, LineThickness thickness) {
  if (number_of(style) < 0 || number_of(style) > kMaxLineStyle ||
      (thickness != LineThickness::Normal && thickness != LineThickness::Thick)) {
    return reject();
  }
  state_.line_style = style;
  state_.line_pattern = style == LineStyle::User ? pattern : kLineStyles[number_of(style)];
  state_.thickness = thickness;
}

void Surface::set_text_justify(HorizontalJustify horizontal, VerticalJustify vertical) {
  if (number_of(horizontal) < 0 || number_of(horizontal) > 2 || number_of(vertical) < 0 ||
      number_of(vertical) > 2) {
    return reject();
  }
  state_.justify_horizontal = horizontal;
  state_.justify_vertical = vertical;
}

// ---- Pixel writers: clip, then write ----------------------------------------------------------

void Surface::plot(int x, int y, uint8_t colour) {
  if (x < clip_.x1 || x > clip_.x2 || y < clip_.y1 || y > clip_.y2) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

// Pixels x1..x2 (x1 <= x2) of row y.
void Surface::span(int x1, int x2, int y, uint8_t colour) {
  if (y < clip_.y1 || y > clip_.y2) return;
  x1 = std::max(x1, clip_.x1);
  x2 = std::min(x2, clip_.x2);
  if (x1 > x2) return;
  fill_row(&pixels_[static_cast<size_t>(y) * width_ + x1], static_cast<size_t>(x2 - x1 + 1),
           colour);
}

// Pixels x1..x2 (x1 <= x2) of row y in the fill pattern: set bits the fill colour, clear bits
// the background colour.
void Surface::pattern_span(int x1, int x2, int y) {
  const uint8_t bits = kFillPatterns[number_of(state_.fill_pattern)][y & 7];
  if (bits == 0xFF) return span(x1, x2, y, state_.fill_colour);
  if (bits == 0x00) return span(x1, x2, y, state_.background);
  if (y < clip_.y1 || y > clip_.y2) return;
  x1 = std::max(x1, clip_.x1);
  x2 = std::min(x2, clip_.x2);
  uint8_t* row = &pixels_[static_cast<size_t>(y) * width_];
  for (int x = x1; x <= x2; ++x) {
    row[x] = (bits & (0x80 >> (x & 7))) ? state_.fill_colour : state_.background;
  }
}

// Pixels x1..x2 of rows y1..y2, clipped by the caller; nothing when x1 > x2 or y1 > y2. The
// arguments are copies: the byte stores below could alias any field as far as the compiler knows.
void Surface::rectangle(int x1, int y1, int x2, int y2, uint8_t colour) {
  if (x1 > x2 || y1 > y2) return;
  const auto count = static_cast<size_t>(x2 - x1 + 1);
  const auto stride = static_cast<size_t>(width_);
  uint8_t* row = &pixels_[static_cast<size_t>(y1) * stride + x1];
  for (int y = y1; y <= y2; ++y, row += stride) fill_row(row, count, colour);
}

// Pixels x1..x2 of rows y1..y2 (x1 <= x2, y1 <= y2), for narrow upright blocks such as vertical
// lines: column by column, as a row of a few bytes is not worth a memset.
void Surface::block(int x1, int y1, int x2, int y2, uint8_t colour) {
  x1 = std::max(x1, clip_.x1);
  x2 = std::min(x2, clip_.x2);
  y1 = std::max(y1, clip_.y1);
  y2 = std::min(y2, clip_.y2);
  if (x1 > x2 || y1 > y2) return;
  const size_t stride = static_cast<size_t>(width_);
  uint8_t* top = &pixels_[static_cast<size_t>(y1) * stride];
  for (int x = x1; x <= x2; ++x) {
    uint8_t* at = top + x;
    for (int y = y1; y <= y2; ++y, at += stride) *at = colour;
  }
}

// ---- Bars -------------------------------------------------------------------------------------

// Filled rectangle, both corners inclusive, corners in either order, no outline, in the fill
// pattern and colour; the line style and thickness play no part. The solid and the empty
// pattern are one colour throughout: the rectangle is clipped once and written row by row
// (bars and cells are drawn so at every step, many rows of a few pixels each).
void Surface::fill_bar(int x1, int y1, int x2, int y2) {
  const int left = std::min(x1, x2) + state_.view_x1;
  const int right = std::max(x1, x2) + state_.view_x1;
  const int top = std::max(std::min(y1, y2) + state_.view_y1, clip_.y1);
  const int bottom = std::min(std::max(y1, y2) + state_.view_y1, clip_.y2);
  if (state_.fill_pattern == FillPattern::Solid || state_.fill_pattern == FillPattern::Empty) {
    const uint8_t colour =
        state_.fill_pattern == FillPattern::Solid ? state_.fill_colour : state_.background;
    rectangle(std::max(left, clip_.x1), top, std::min(right, clip_.x2), bottom, colour);
  } else {
    for (int y = top; y <= bottom; ++y) pattern_span(left, right, y);
  }
  touch(left, top, right, bottom);
}

// ---- Lines and rectangles ---------------------------------------------------------------------

// Whether the step-th pixel along a line (from 0) is drawn in the current line style.
bool Surface::line_bit(int step) const {
  return (state_.line_pattern >> (15 - (step & 15))) & 1;
}

// The line through both end points, in the drawing colour, line style and thickness.
// Horizontal and vertical lines are spans (three of them at thickness 3); any other line is
// Bresenham's.
void Surface::draw_line(int x1, int y1, int x2, int y2) {
  const int ax1 = x1 + state_.view_x1, ay1 = y1 + state_.view_y1;
  const int ax2 = x2 + state_.view_x1, ay2 = y2 + state_.view_y1;
  line_absolute(ax1, ay1, ax2, ay2);
  const int half = number_of(state_.thickness) / 2;
  touch(std::min(ax1, ax2) - half, std::min(ay1, ay2) - half, std::max(ax1, ax2) + half,
        std::max(ay1, ay2) + half);
}

void Surface::line_absolute(int x1, int y1, int x2, int y2) {
  if (y1 == y2) return horizontal_line(std::min(x1, x2), std::max(x1, x2), y1);
  if (x1 == x2) return vertical_line(x1, std::min(y1, y2), std::max(y1, y2));
  bresenham_line(x1, y1, x2, y2);
}

// Row y from x1 to x2 (x1 <= x2); thickness 3 adds rows y - 1 and y + 1.
void Surface::horizontal_line(int x1, int x2, int y) {
  const int half = number_of(state_.thickness) / 2;
  if (y + half < clip_.y1 || y - half > clip_.y2 || x2 < clip_.x1 || x1 > clip_.x2) return;
  for (int row = y - half; row <= y + half; ++row) {
    if (state_.line_pattern == 0xFFFF) {
      span(x1, x2, row, state_.colour);
      continue;
    }
    for (int x = x1; x <= x2; ++x) {
      if (line_bit(x - x1)) plot(x, row, state_.colour);
    }
  }
}

// Column x from y1 to y2 (y1 <= y2); thickness 3 adds columns x - 1 and x + 1.
void Surface::vertical_line(int x, int y1, int y2) {
  const int half = number_of(state_.thickness) / 2;
  if (x + half < clip_.x1 || x - half > clip_.x2 || y2 < clip_.y1 || y1 > clip_.y2) return;
  if (state_.line_pattern == 0xFFFF) return block(x - half, y1, x + half, y2, state_.colour);
  for (int col = x - half; col <= x + half; ++col) {
    for (int y = y1; y <= y2; ++y) {
      if (line_bit(y - y1)) plot(col, y, state_.colour);
    }
  }
}

// Bresenham from (x1, y1) toward (x2, y2). Along the faster axis (x unless dy > dx) it sets
// fast + 1 pixels; d starts at 2*slow - fast, and after each pixel d >= 0 steps both axes and
// adds 2*(slow - fast), otherwise only the fast axis steps and d grows by 2*slow. The direction
// matters: the same end points given the other way round may choose other pixels.
void Surface::bresenham_line(int x1, int y1, int x2, int y2) {
  const int step_x = x2 >= x1 ? 1 : -1;
  const int step_y = y2 >= y1 ? 1 : -1;
  const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
  const int fast = steep ? std::abs(y2 - y1) : std::abs(x2 - x1);
  const int slow = steep ? std::abs(x2 - x1) : std::abs(y2 - y1);
  int d = 2 * slow - fast;
  int x = x1, y = y1;
  for (int i = 0; i <= fast; ++i) {
    if (line_bit(i)) line_dot(x, y, steep);
    if (d >= 0) {
      x += step_x;
      y += step_y;
      d += 2 * (slow - fast);
    } else if (steep) {
      y += step_y;
      d += 2 * slow;
    } else {
      x += step_x;
      d += 2 * slow;
    }
  }
}

// One step of a sloped line: the pixel, and at thickness 3 its two neighbours across the slower
// direction (left and right of a steep line, above and below of any other).
void Surface::line_dot(int x, int y, bool steep) {
  plot(x, y, state_.colour);
  if (state_.thickness != LineThickness::Thick) return;
  if (steep) {
    plot(x - 1, y, state_.colour);
    plot(x + 1, y, state_.colour);
  } else {
    plot(x, y - 1, state_.colour);
    plot(x, y + 1, state_.colour);
  }
}

// The outline through both corners as four lines that meet without overlapping: (x1, y1) to
// (x2 - 1, y1), (x1, y1 + 1) to (x1, y2), (x2, y1) to (x2, y2 - 1), (x1 + 1, y2) to (x2, y2),
// with x1 <= x2 and y1 <= y2 after ordering the corners. A rectangle one pixel wide or high is
// the single line between its corners (the four lines would poke out of it).
void Surface::draw_rectangle(int x1, int y1, int x2, int y2) {
  const int left = std::min(x1, x2) + state_.view_x1;
  const int right = std::max(x1, x2) + state_.view_x1;
  const int top = std::min(y1, y2) + state_.view_y1;
  const int bottom = std::max(y1, y2) + state_.view_y1;
  const int half = number_of(state_.thickness) / 2;
  touch(left - half, top - half, right + half, bottom + half);
  if (left == right || top == bottom) return line_absolute(left, top, right, bottom);
  line_absolute(left, top, right - 1, top);
  line_absolute(left, top + 1, left, bottom);
  line_absolute(right, top, right, bottom - 1);
  line_absolute(left + 1, bottom, right, bottom);
}

// ---- Arcs -------------------------------------------------------------------------------------

// Arc of the circle of the given radius around (x, y) from the smaller to the larger of the two
// angles (each taken mod 361), counter-clockwise; so 270..90 is the left half, never a path
// through 0. Thickness 3 draws the radii r, r + 1 and r - 1.
void Surface::draw_arc(int x, int y, uint16_t start_angle, uint16_t end_angle, uint16_t radius) {
  int start = start_angle % 361;
  int end = end_angle % 361;
  if (end < start) std::swap(start, end);
  const int cx = x + state_.view_x1;
  const int cy = y + state_.view_y1;
  const int r = std::max<int>(radius, 1);
  const int reach = state_.thickness == LineThickness::Thick ? r + 1 : r;
  touch(cx - reach, cy - reach, cx + reach, cy + reach);
  arc_ring(cx, cy, start, end, r);
  if (state_.thickness == LineThickness::Thick) {
    arc_ring(cx, cy, start, end, r + 1);
    arc_ring(cx, cy, start, end, r - 1);
  }
}

// One ring of thickness 1. Radius 1 or less is the centre pixel alone. Otherwise, with
// n = round(sqrt(3) * sqrt(2 r^2)), theta runs over 0, 90/n, 2*90/n, ... (accumulated as a
// 32-bit float, exactly as the pictures were designed) while theta <= 91; each theta gives
// dx = round(r cos theta), dy = round(r sin theta), rounded half to even, and the four mirrored
// pixels at angles theta, 180 - theta, 180 + theta and 360 - theta, each set when its angle lies
// within start..end inclusive. The steps are short enough that neighbours touch at least at a
// corner, so a flood fill cannot leak through the arc.
void Surface::arc_ring(int cx, int cy, int start, int end, int radius) {
  if (radius <= 1) return plot(cx, cy, state_.colour);
  const double r = radius;
  const long n = std::lround(std::sqrt(3.0) * std::sqrt(2.0 * r * r));
  const float step = 90.0f / static_cast<float>(n);
  const auto within = [&](double angle) { return start <= angle && angle <= end; };
  for (float theta = 0.0f; theta <= 91.0f; theta += step) {
    const double radians = static_cast<double>(theta) * (std::numbers::pi / 180.0);
    const int dx = static_cast<int>(std::nearbyint(r * std::cos(radians)));
    const int dy = static_cast<int>(std::nearbyint(r * std::sin(radians)));
    const double t = theta;
    if (within(t)) plot(cx + dx, cy - dy, state_.colour);
    if (within(180.0 - t)) plot(cx - dx, cy - dy, state_.colour);
    if (within(180.0 + t)) plot(cx - dx, cy + dy, state_.colour);
    if (within(360.0 - t)) plot(cx + dx, cy + dy, state_.colour);
  }
}

// ---- Flood fill -------------------------------------------------------------------------------

// A span fill over the viewport. A span is a maximal run of a row between border pixels (or the
// viewport's edges); each filled span is marked in `filled_` and never filled again, so the fill
// ends whatever colours the region holds, the fill colour included. Seeds for the rows above and
// below wait on a stack of kMaxFloodSeeds entries; seeds beyond that are dropped, which can leave
// part of a very ragged region unfilled.
class Surface::FloodFill {
 public:
  FloodFill(Surface& surface, uint8_t border)
      : s_(surface),
        border_(border),
        view_{surface.state_.view_x1, surface.state_.view_y1, surface.state_.view_x2,
              surface.state_.view_y2},
        view_width_(view_.x2 - view_.x1 + 1),
        filled_(static_cast<size_t>(view_width_) * (view_.y2 - view_.y1 + 1), 0) {}

  void flood_from(int x, int y) {
    push(x, y);
    while (seed_count_ > 0) {
      const Seed seed = seeds_[--seed_count_];
      if (!blocked(seed.x, seed.y)) fill_from(seed.x, seed.y);
    }
    s_.touch(reached_.x1, reached_.y1, reached_.x2, reached_.y2);
  }

 private:
  struct Seed {
    int x, y;
  };

  uint8_t& filled(int x, int y) {
    return filled_[static_cast<size_t>(y - view_.y1) * view_width_ + (x - view_.x1)];
  }
  bool blocked(int x, int y) {
    return filled(x, y) || kCanonicalColour[s_.read(x, y)] == border_;
  }
  void push(int x, int y) {
    if (seed_count_ < kMaxFloodSeeds) seeds_[seed_count_++] = Seed{x, y};
  }

  // Fills the span through (x, y), then seeds every unfilled run touching it above and below.
  void fill_from(int x, int y) {
    int left = x, right = x;
    while (left > view_.x1 && !blocked(left - 1, y)) --left;
    while (right < view_.x2 && !blocked(right + 1, y)) ++right;
    s_.pattern_span(left, right, y);
    std::memset(&filled(left, y), 1, static_cast<size_t>(right - left + 1));
    reached_ = united(reached_, Box{left, y, right, y});
    if (y > view_.y1) seed_runs(left, right, y - 1);
    if (y < view_.y2) seed_runs(left, right, y + 1);
  }

  void seed_runs(int left, int right, int y) {
    for (int x = left; x <= right; ++x) {
      if (blocked(x, y)) continue;
      push(x, y);
      while (x < right && !blocked(x + 1, y)) ++x;
    }
  }

  Surface& s_;
  const uint8_t border_;
  const Box view_;
  const int view_width_;
  std::vector<uint8_t> filled_;  // one flag per viewport pixel: already filled
  std::array<Seed, kMaxFloodSeeds> seeds_;
  int seed_count_ = 0;
  // The spans filled so far; empty at first.
  Box reached_{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
               std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
};

// Fills, in the fill pattern and colour, every pixel reachable from the seed by horizontal and
// vertical steps without crossing the border colour or leaving the viewport (whatever the clip
// flag). A seed outside the viewport does nothing. Pixels are compared as they read back, so a
// border drawn in 255 stops a fill asked to stop at 0 and the other way round.
void Surface::flood_fill(int x, int y, int border_colour) {
  if (border_colour < 0 || border_colour > 255) return reject();
  const int ax = x + state_.view_x1;
  const int ay = y + state_.view_y1;
  if (ax < state_.view_x1 || ax > state_.view_x2 || ay < state_.view_y1 || ay > state_.view_y2) {
    return;
  }
  try {
    FloodFill(*this, canonical_colour(static_cast<uint8_t>(border_colour))).flood_from(ax, ay);
  } catch (const std::bad_alloc&) {
    state_.result = kGraphNoFloodMemory;
  }
}

// ---- Text -------------------------------------------------------------------------------------

int Surface::text_width(std::string_view cp852_text) {
  return static_cast<int>(cp852_text.size()) * kGlyphSize;
}

int Surface::text_height(std::string_view) { return kGlyphSize; }

// The text in 8x8 glyphs, glyph pixels in the drawing colour and all others untouched. The
// justification places the top-left corner (x0, y0): x, x - w/2 or x - w across (w the text
// width) and y - 8, y - 4 or y down. A text whose corner would lie left of or above the
// viewport, or beyond its width or height, is not drawn at all; otherwise it is clipped.
void Surface::draw_text(int x, int y, std::string_view cp852_text) {
  const int width = text_width(cp852_text);
  // Chosen by conditions, not read from small arrays: a table built on the stack at every call
  // costs a store-forwarding stall on the drawing path.
  const HorizontalJustify horizontal = state_.justify_horizontal;
  const VerticalJustify vertical = state_.justify_vertical;
  const int x0 = x - (horizontal == HorizontalJustify::Left     ? 0
                      : horizontal == HorizontalJustify::Center ? width / 2
                                                                : width);
  const int y0 = y - (vertical == VerticalJustify::Bottom   ? kGlyphSize
                      : vertical == VerticalJustify::Middle ? kGlyphSize / 2
                                                            : 0);
  if (x0 < 0 || y0 < 0) return;
  if (x0 > state_.view_x2 - state_.view_x1 || y0 > state_.view_y2 - state_.view_y1) return;
  const int left = state_.view_x1 + x0;
  const int top = state_.view_y1 + y0;
  const int right = left + width - 1;
  const int bottom = top + kGlyphSize - 1;
  touch(left, top, right, bottom);
  if (left >= clip_.x1 && right <= clip_.x2 && top >= clip_.y1 && bottom <= clip_.y2) {
    return glyph_rows(left, top, cp852_text);
  }
  for (size_t i = 0; i < cp852_text.size(); ++i) {
    draw_glyph(left + kGlyphSize * static_cast<int>(i), top, static_cast<uint8_t>(cp852_text[i]));
  }
}

// A text wholly inside clip_ (the programs' texts always are), glyph by glyph, each glyph row's
// eight pixels at once: set bits take the drawing colour, clear bits keep theirs. Everything the
// loops need is read into locals first: the pixel stores could alias the surface's own fields
// as far as the compiler knows.
void Surface::glyph_rows(int x, int y, std::string_view cp852_text) {
  const uint64_t ink = 0x0101010101010101u * state_.colour;
  const auto stride = static_cast<size_t>(width_);
  uint8_t* cell = &pixels_[static_cast<size_t>(y) * stride + x];
  for (const char code : cp852_text) {
    const uint8_t* glyph = &kFont8x8[static_cast<uint8_t>(code) * kGlyphSize];
    uint8_t* at = cell;
    for (int r = 0; r < kGlyphSize; ++r, at += stride) {
      const uint64_t mask = kGlyphRowMasks[glyph[r]];
      uint64_t eight;
      std::memcpy(&eight, at, sizeof eight);
      eight = (eight & ~mask) | (ink & mask);
      std::memcpy(at, &eight, sizeof eight);
    }
    cell += kGlyphSize;
  }
}

// One glyph of a text that is not wholly inside clip_: a glyph that is goes by rows as above;
// of any other, the rows and columns inside clip_ are written pixel by pixel.
void Surface::draw_glyph(int x, int y, uint8_t code) {
  const int last = kGlyphSize - 1;
  if (x >= clip_.x1 && x + last <= clip_.x2 && y >= clip_.y1 && y + last <= clip_.y2) {
    const char one = static_cast<char>(code);
    return glyph_rows(x, y, std::string_view(&one, 1));
  }
  const int first_col = std::max(clip_.x1 - x, 0), last_col = std::min(clip_.x2 - x, last);
  const int first_row = std::max(clip_.y1 - y, 0), last_row = std::min(clip_.y2 - y, last);
  const uint8_t* rows = &kFont8x8[code * kGlyphSize];
  for (int row = first_row; row <= last_row; ++row) {
    uint8_t* line = &pixels_[static_cast<size_t>(y + row) * width_];
    for (int col = first_col; col <= last_col; ++col) {
      if (rows[row] & (0x80 >> col)) line[x + col] = state_.colour;
    }
  }
}

// ---- Images -----------------------------------------------------------------------------------

// Bytes of an ImageBuffer for the rectangle (corners in either order): 12 header bytes and two
// per pixel.
int32_t Surface::image_size(int x1, int y1, int x2, int y2) {
  const int64_t width = std::abs(int64_t{x2} - x1) + 1;
  const int64_t height = std::abs(int64_t{y2} - y1) + 1;
  return static_cast<int32_t>(width * height * 2 + kImageHeaderBytes);
}

// `count` pixels of row y from x, as 16-bit colour numbers read back canonically; pixels off the
// surface read as 0.
void Surface::read_row(int x, int y, int count, uint8_t* out) const {
  if (y < 0 || y >= height_) {
    std::memset(out, 0, static_cast<size_t>(count) * 2);
    return;
  }
  // `before` pixels left of the surface, `on` pixels on it, the rest right of it.
  const int before = std::clamp(-x, 0, count);
  const int on = std::clamp(std::min(x + count, width_) - std::max(x, 0), 0, count - before);
  std::memset(out, 0, static_cast<size_t>(before) * 2);
  if (on > 0) {
    widen_canonical(&pixels_[static_cast<size_t>(y) * width_ + std::max(x, 0)], on,
                    out + 2 * before);
  }
  std::memset(out + 2 * (before + on), 0, static_cast<size_t>(count - before - on) * 2);
}

// Copies the rectangle (corners in either order, inclusive) into an ImageBuffer: width, height,
// a reserved 0, then the colour numbers row by row from the top. The caller's buffer holds
// image_size bytes. Reading is not limited by the viewport.
void Surface::get_image(int x1, int y1, int x2, int y2, uint8_t* buffer) const {
  const int left = std::min(x1, x2) + state_.view_x1;
  const int top = std::min(y1, y2) + state_.view_y1;
  const int width = std::abs(x2 - x1) + 1;
  const int height = std::abs(y2 - y1) + 1;
  write_int32(buffer, width);
  write_int32(buffer + 4, height);
  write_int32(buffer + 8, 0);
  uint8_t* out = buffer + kImageHeaderBytes;
  for (int row = 0; row < height; ++row) {
    read_row(left, top + row, width, out + static_cast<size_t>(row) * width * 2);
  }
}

// The part of a width x height block placed with its top-left pixel at (left, top), absolute,
// that lies inside clip_; empty (x1 > x2 or y1 > y2) when none does.
SurfaceBox Surface::clip_placement(int64_t left, int64_t top, int64_t width, int64_t height) const {
  return {static_cast<int>(std::max<int64_t>(left, clip_.x1)),
          static_cast<int>(std::max<int64_t>(top, clip_.y1)),
          static_cast<int>(std::min<int64_t>(left + width - 1, clip_.x2)),
          static_cast<int>(std::min<int64_t>(top + height - 1, clip_.y2))};
}

// Draws an ImageBuffer with its top-left pixel at (x, y), each pixel replaced by its stored
// colour (mode 0, the only mode; others are rejected). Rows and columns outside clip_ are skipped.
void Surface::put_image(int x, int y, const uint8_t* buffer, PutMode mode) {
  if (mode != PutMode::Copy) return reject();
  const int width = read_int32(buffer);
  const int height = read_int32(buffer + 4);
  if (width <= 0 || height <= 0) return;
  const int64_t left = int64_t{x} + state_.view_x1;
  const int64_t top = int64_t{y} + state_.view_y1;
  const Box target = clip_placement(left, top, width, height);
  const int first_x = target.x1, last_x = target.x2, first_y = target.y1, last_y = target.y2;
  if (first_x > last_x) return;
  const uint8_t* data = buffer + kImageHeaderBytes;
  for (int ay = first_y; ay <= last_y; ++ay) {
    const size_t source = (static_cast<size_t>(ay - top) * width + (first_x - left)) * 2;
    narrow_colours(data + source, last_x - first_x + 1,
                   &pixels_[static_cast<size_t>(ay) * width_ + first_x]);
  }
  touch(first_x, first_y, last_x, last_y);
}

// Copies the rectangle (corners in either order, inclusive) so that its top-left pixel lands at
// (x, y): the same pixels as get_image of the rectangle followed by put_image at (x, y), without
// the buffer. Source pixels off the surface arrive as 0; destination rows and columns outside
// clip_ are skipped; source and destination may overlap. The one difference: a pixel keeps its
// index, where the image would carry the lowest index of its colour, which shows the same.
void Surface::move_region(int x1, int y1, int x2, int y2, int x, int y) {
  const int64_t source_left = int64_t{std::min(x1, x2)} + state_.view_x1;
  const int64_t source_top = int64_t{std::min(y1, y2)} + state_.view_y1;
  const int64_t width = std::abs(int64_t{x2} - x1) + 1;
  const int64_t height = std::abs(int64_t{y2} - y1) + 1;
  const int64_t left = int64_t{x} + state_.view_x1;
  const int64_t top = int64_t{y} + state_.view_y1;
  const Box target = clip_placement(left, top, width, height);
  const int first_x = target.x1, last_x = target.x2, first_y = target.y1, last_y = target.y2;
  if (first_x > last_x || first_y > last_y) return;
  const int64_t shift_x = left - source_left;
  const int64_t shift_y = top - source_top;
  // Moving up (or along), rows go top down, else bottom up: a row is overwritten only after it
  // has been read.
  for (int i = 0; i <= last_y - first_y; ++i) {
    const int ay = shift_y <= 0 ? first_y + i : last_y - i;
    move_row(ay, ay - shift_y, first_x, last_x, shift_x);
  }
  touch(first_x, first_y, last_x, last_y);
}

// Columns first_x..last_x of row to_y take the pixels `shift` columns to their left in row
// from_y (to their right for a negative shift); pixels taken from off the surface are 0.
void Surface::move_row(int to_y, int64_t from_y, int first_x, int last_x, int64_t shift) {
  uint8_t* out = &pixels_[static_cast<size_t>(to_y) * width_];
  if (from_y < 0 || from_y >= height_) {
    std::memset(out + first_x, 0, static_cast<size_t>(last_x - first_x + 1));
    return;
  }
  const uint8_t* in = &pixels_[static_cast<size_t>(from_y) * width_];
  // The destination columns whose source lies on the surface.
  const auto on_first = static_cast<int>(std::clamp<int64_t>(shift, first_x, last_x + 1));
  const auto on_last =
      static_cast<int>(std::clamp<int64_t>(width_ - 1 + shift, on_first - 1, last_x));
  if (on_first <= on_last) {
    std::memmove(out + on_first, in + (on_first - shift),
                 static_cast<size_t>(on_last - on_first + 1));
  }
  if (on_first > first_x) std::memset(out + first_x, 0, static_cast<size_t>(on_first - first_x));
  if (last_x > on_last) std::memset(out + on_last + 1, 0, static_cast<size_t>(last_x - on_last));
}

uint8_t Surface::get_pixel(int x, int y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return 0;
  return kCanonicalColour[read(x, y)];
}
