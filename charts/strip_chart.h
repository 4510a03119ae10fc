// The count-change strip chart: the count of box 1 over the most recent 141 steps, one bar per
// step, oldest on the left. It fills from the left, then scrolls one slot per step.
#pragma once

#include <cstdint>

#include "charts/chart_panel.h"

// The strip chart: its panel and what a scroll needs beside it. panel.values holds the stored
// values as a ring, so that a push with all 141 stored overwrites the oldest instead of moving
// the other 140 (read them with strip_value).
struct StripChart {
  ChartPanel panel;        // bar_count is the number of values stored, 0..141
  int64_t full_value = 0;  // N: no pushed value exceeds it
  int oldest = 0;          // where in panel.values the oldest stored value is
};

// The k-th stored value, oldest first (0 <= k < bar_count): the value slot k shows.
int64_t strip_value(const StripChart& strip, int k);

// The width of one slot: (x2 - x1) div 140, one pixel less on the surface widths where the 142
// slots a scroll touches would otherwise reach the frame line. Slot k covers columns
// x1 + ws*k + 2 .. x1 + ws*(k + 1) + 1.
int strip_slot_width(const ChartPanel& panel);

// Sets the largest value the strip will be given and starts the ring of values afresh (after
// panel_init).
void strip_prepare(StripChart& strip, int64_t full_value);

// Stores the value (oldest dropped once 141 are stored) and, unless the turn only counts, draws
// it: in the next free slot while filling, else by scrolling the bars one slot left and drawing
// the new bar in the last slot. A push that only counts touches neither the surface nor the
// drawing state.
void strip_push(uint16_t value, StripChart& strip, TurnDrawing drawing);

// Clears the plot area and draws every stored value in its own slot, so later pushes continue
// the same picture. With 141 values it gives the same pixels as the pushes themselves did.
// Used instead of panel_redraw for this panel.
void strip_redraw(const StripChart& strip);
