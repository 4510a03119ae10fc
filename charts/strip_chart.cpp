// The strip chart is a ChartPanel used in its own way: bar_count is the number of values stored
// so far (0 to 141), values is a ring whose oldest value is at the strip's `oldest`, the scale is
// fixed (a value of N, the insect count, is a bar of the mapped design height 190) and never
// halves.
//
// Slots: slot k covers columns x1 + ws*k + 2 .. x1 + ws*(k + 1) + 1. Bars stand on y2, the
// middle row of the 3-pixel frame line. A scroll moves the columns of slots 1..141 (slot 141 lies
// beyond the last used slot and is background) in place one slot to the left, but only the rows
// where they differ: with low and high the least and the greatest of the 141 stored values and
// the new one, every slot is background above top(high) and bar colour from top(low) down, before
// and after the push (slot 141 aside, whose background the new bar covers there), so only rows
// top(high) .. top(low) - 1 move, and the new bar is drawn down to top(low) - 1. With the count
// wandering a few insects either way this is a small band of the plot area.
//
// The slot width is (x2 - x1) div 140 (140, although 141 slots are used) wherever the 142 slots a
// scroll touches end inside the frame's inner edge x2 - 2, as they do on the design surface and
// on most others. In a band of surface widths above every multiple of about 299 pixels
// (895..915, 1195..1219, 1494..1520, ..., 5078..5156, widening as they go) they would not: a
// scroll would then drag the frame line and the pixels beyond it into the chart, leaving white
// stripes or an erased frame line. There the width is one pixel less, the largest that keeps
// slot 141 inside the plot area.
#include "charts/strip_chart.h"

#include <algorithm>

#include "services/graphics/graphics.h"

constexpr int kSlotsPerWidth = 140;

int strip_slot_width(const ChartPanel& panel) {
  const int width = panel.x2 - panel.x1;
  return std::min(width / kSlotsPerWidth, (width - 3) / (kMaxBars + 1));
}

namespace {

void fill_slot(const ChartPanel& panel, int slot, int64_t value) {
  const int ws = strip_slot_width(panel);
  fill_bar(panel.x1 + ws * slot + 2, panel_bar_top(panel, value), panel.x1 + ws * (slot + 1) + 1,
           panel.y2);
}

// Moves slots 1 .. 141 of rows first_row .. last_row one slot to the left.
void scroll_left(const ChartPanel& panel, int first_row, int last_row) {
  const int ws = strip_slot_width(panel);
  move_region(panel.x1 + ws + 2, first_row, panel.x1 + ws * (kMaxBars + 1) + 1, last_row,
              panel.x1 + 2, first_row);
}

// The smallest and the largest of the stored values and `value`.
void value_range(const StripChart& strip, int64_t value, int64_t& low, int64_t& high) {
  low = high = value;
  for (int k = 0; k < kMaxBars; ++k) {
    low = std::min(low, strip.panel.values[k]);
    high = std::max(high, strip.panel.values[k]);
  }
}

}  // namespace

void strip_prepare(StripChart& strip, int64_t full_value) {
  strip.full_value = full_value;
  strip.oldest = 0;
}

int64_t strip_value(const StripChart& strip, int k) {
  const int at = strip.oldest + k;
  return strip.panel.values[at < kMaxBars ? at : at - kMaxBars];
}

// A quiet push leaves the fill alone, as a quiet panel_increment does.
void strip_push(uint16_t value, StripChart& strip, TurnDrawing drawing) {
  ChartPanel& panel = strip.panel;
  if (panel.bar_count < kMaxBars) {
    panel.values[panel.bar_count] = value;
    if (drawing == TurnDrawing::Draw) {
      set_fill(FillPattern::Solid, panel.colour);
      fill_slot(panel, panel.bar_count, value);
    }
    panel.bar_count += 1;
    return;
  }
  int64_t low = 0, high = 0;
  if (drawing == TurnDrawing::Draw) value_range(strip, value, low, high);
  panel.values[strip.oldest] = value;
  strip.oldest = strip.oldest + 1 == kMaxBars ? 0 : strip.oldest + 1;
  if (drawing == TurnDrawing::CountOnly) return;
  set_fill(FillPattern::Solid, panel.colour);
  const int first_row = panel_bar_top(panel, high), end_row = panel_bar_top(panel, low);
  if (first_row >= end_row) return;  // every bar as high as the next: nothing moves
  scroll_left(panel, first_row, end_row - 1);
  const int top = panel_bar_top(panel, value);
  if (top >= end_row) return;  // the new bar is the lowest: its slot already shows it
  const int ws = strip_slot_width(panel);
  fill_bar(panel.x1 + ws * (kMaxBars - 1) + 2, top, panel.x1 + ws * kMaxBars + 1, end_row - 1);
}

// The plot area is cleared exactly as panel_redraw clears it, so the frame line and the title
// band keep their pixels.
void strip_redraw(const StripChart& strip) {
  const ChartPanel& panel = strip.panel;
  set_fill(FillPattern::Empty, 0);
  fill_bar(panel.x1 + 2, panel_plot_top(panel), panel.x2 - 2, panel.y2 - 2);
  set_fill(FillPattern::Solid, panel.colour);
  for (int k = 0; k < panel.bar_count; ++k) fill_slot(panel, k, strip_value(strip, k));
}
