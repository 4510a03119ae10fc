// The count-change strip chart: the count of box 1 over the most recent 141 steps, one bar per
// step, oldest on the left. It fills from the left, then scrolls one slot per step.
#pragma once

#include <cstdint>

#include "charts/chart_panel.h"

// The width of one slot: (x2 - x1) div 140, one pixel less on the surface widths where the 142
// slots a scroll touches would otherwise reach the frame line. Slot k covers columns
// x1 + ws*k + 2 .. x1 + ws*(k + 1) + 1.
int strip_slot_width(const ChartPanel& strip);

// Stores the value (oldest dropped once 141 are stored) and, unless the run is quiet, draws it:
// in the next free slot while filling, else by scrolling the bars one slot left and drawing the
// new bar in the last slot. The scroll goes through run.strip_image, sized here on first need.
void strip_push(uint16_t value, ChartPanel& panel);

// Sizes run.strip_image for the region a scroll copies on this panel and surface. The program
// calls it once after the surface opens, so that scrolling never allocates.
void strip_prepare_buffer(const ChartPanel& strip);

// Clears the plot area and draws every stored value in its own slot, so later pushes continue
// the same picture. With 141 values it gives the same pixels as the pushes themselves did.
// Used instead of panel_redraw for this panel.
void strip_redraw(const ChartPanel& strip);
