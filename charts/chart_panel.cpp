// The chart panel operations shared by every chart: set-up, frame and title, largest value,
// full redraw and the one-step increment with automatic vertical rescaling.
//
// Geometry, recomputed at every use: th = text height (8 with the built-in font); the plot area
// starts at row y1 + th + 10, above it is the title band; plot_height = (y2 - y1) - th - 10.
// Bar i of width w covers columns x1 + w*i + 2 .. x1 + w*(i + 1) + 1 and rows
// trunc(y2 - values[i]*scale) .. y2. Every real product is formed as an extended real and cut to a
// pixel with truncate_real, so a bar of value 0 is the single row y2.
//
// The operations draw through the global graphics services, assume the viewport is the whole
// surface (panel_draw_frame sets it so) and never change the drawing colour: frames and titles
// use the default colour 15. Those that draw leave the fill set to solid in the panel's colour,
// which the box view relies on when it draws its cells afterwards; an increment or a push that
// only counts draws nothing and leaves the fill as the last drawing did.
//
// Whether an increment halves is an integer comparison against the least value whose bar reaches
// the title band, found once per scale (panel_halving_value) with the same extended product.
#include "charts/chart_panel.h"

#include <cassert>
#include <cstdint>

#include "services/graphics/graphics.h"
#include "services/numbers/extended_real.h"

namespace {

int title_band_height() { return text_height(" ") + 10; }

// Fills bar i of width w from its top row down to y2.
void fill_panel_bar(const ChartPanel& panel, int w, int i) {
  fill_bar(panel.x1 + w * i + 2, panel_bar_top(panel, panel.values[i]),
           panel.x1 + w * (i + 1) + 1, panel.y2);
}

}  // namespace

void panel_init(ChartPanel& panel, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2,
                std::string_view title, uint16_t bar_count, double scale, uint8_t colour) {
  panel.x1 = x1;
  panel.y1 = y1;
  panel.x2 = x2;
  panel.y2 = y2;
  panel.title = std::string(title.substr(0, kMaxTitleLength));
  panel.values.fill(0);
  panel.bar_count = bar_count;
  panel.scale = scale;
  panel.colour = colour;
}

int panel_plot_top(const ChartPanel& panel) { return panel.y1 + title_band_height(); }

int panel_plot_height(const ChartPanel& panel) {
  return (static_cast<int>(panel.y2) - static_cast<int>(panel.y1)) - title_band_height();
}

int panel_bar_top(const ChartPanel& panel, int64_t value) {
  const extended_real height = extended_real(value) * panel.scale;
  return static_cast<int>(truncate_real(extended_real(panel.y2) - height));
}

// The title is centred because the run screen has set centre / top justification before.
void panel_draw_frame(const ChartPanel& panel) {
  set_viewport(0, 0, get_max_x(), get_max_y(), Clipping::On);
  set_fill(FillPattern::Solid, panel.colour);
  draw_rectangle(panel.x1, panel.y1, panel.x2, panel.y2);
  draw_text(panel.x1 + (panel.x2 - panel.x1) / 2, panel.y1 + text_height(" "), panel.title);
}

double panel_max_value(const ChartPanel& panel) {
  int64_t result = panel.values[0];
  for (int i = 1; i < panel.bar_count; ++i) {
    if (result < panel.values[i]) result = panel.values[i];
  }
  return static_cast<double>(result);
}

// Clears the inside of the frame below the title band (the 3-pixel frame line keeps its pixels)
// and draws the bars left to right. A panel without bars is only cleared: the bar width would
// otherwise be a division by zero.
void panel_redraw(const ChartPanel& panel) {
  set_fill(FillPattern::Empty, 0);
  fill_bar(panel.x1 + 2, panel_plot_top(panel), panel.x2 - 2, panel.y2 - 2);
  set_fill(FillPattern::Solid, panel.colour);
  if (panel.bar_count == 0) return;
  const int w = (panel.x2 - panel.x1) / panel.bar_count;
  for (int i = 0; i < panel.bar_count; ++i) fill_panel_bar(panel, w, i);
}

bool panel_bar_reaches_band(const ChartPanel& panel, int64_t value) {
  return !(extended_real(value) * panel.scale < extended_real(panel_plot_height(panel)));
}

// Bisection over 0 .. INT64_MAX, at most 63 products; a scale of 0 never reaches the band.
uint64_t find_halving_value(ChartPanel& panel) {
  HalvingValue& found = panel.halving;
  assert(panel.scale >= 0.0);
  found = HalvingValue{panel.scale, panel.y1, panel.y2, kNoHalving};
  if (!panel_bar_reaches_band(panel, INT64_MAX)) return found.value;
  if (panel_bar_reaches_band(panel, 0)) {
    found.value = 0;
    return found.value;
  }
  int64_t below = 0, reaching = INT64_MAX;  // a bar of `below` stays below the band
  while (reaching - below > 1) {
    const int64_t middle = below + (reaching - below) / 2;
    (panel_bar_reaches_band(panel, middle) ? reaching : below) = middle;
  }
  found.value = static_cast<uint64_t>(reaching);
  return found.value;
}

// A bar that stays below the title band grows by the rows between its old top and its new one
// (not while quiet); one that would reach the band halves the scale and redraws the whole panel,
// in every run mode. Growing only the new rows relies on the bar's old rows being drawn: every
// bar is, after a redraw and after every drawn increment, and a bar of 0 is row y2, which the
// frame's line draws in the bars' colour 15 (the run screen frames its panels before any step,
// and leaving quiet running redraws them).
// The empirical panel, the one panel fed this way, has N + 1 bars for N insects.
// The single bar has the width of a full redraw's bars. A quiet increment that does not halve
// leaves the fill alone: every drawing of the run screen leaves it solid in the panels' colour.
void panel_increment(uint16_t index, ChartPanel& panel, TurnDrawing drawing) {
  assert(index < panel.bar_count);
  const bool halves = panel_increment_halves(index, panel);
  panel.values[index] += 1;
  if (halves) {
    panel.scale = panel.scale / 2.0;
    panel_redraw(panel);
  } else if (drawing == TurnDrawing::Draw) {
    set_fill(FillPattern::Solid, panel.colour);
    const int w = (panel.x2 - panel.x1) / panel.bar_count;
    const int top = panel_bar_top(panel, panel.values[index]);
    const int old_top = panel_bar_top(panel, panel.values[index] - 1);
    if (top < old_top) {
      fill_bar(panel.x1 + w * index + 2, top, panel.x1 + w * (index + 1) + 1, old_top - 1);
    }
  }
}
