// A chart panel: a framed rectangle on the graphics surface with a title centred near its top
// edge and a row of adjacent bars standing on its bottom edge. The empirical and theoretical
// distributions and the count-change strip chart are all panels.
//
// Bar i covers columns x1 + w*i + 2 .. x1 + w*(i + 1) + 1 (w = (x2 - x1) div bar_count) and
// rows trunc(y2 - values[i]*scale) .. y2; the product is formed as an extended real. The band of
// th + 10 rows below y1 (th = text height) holds the title and no bar reaches into it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kMaxBars = 141;

// Whether a turn shows its single-bar updates or only counts them (quiet running). Halvings and
// full redraws are drawn either way.
enum class TurnDrawing : uint8_t { Draw, CountOnly };
constexpr std::size_t kMaxTitleLength = 32;

// The least value whose bar reaches the title band, for the scale and frame it was found for
// (see panel_halving_value).
struct HalvingValue {
  double scale = -1.0;       // no scale yet: found at the first use
  uint16_t y1 = 0, y2 = 0;
  uint64_t value = 0;        // kNoHalving when no value does
};
constexpr uint64_t kNoHalving = UINT64_MAX;

struct ChartPanel {
  uint16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // frame, surface pixels, inclusive
  std::string title;                        // code page 852, at most 32 bytes
  std::array<int64_t, kMaxBars> values{};   // bar values, 64-bit so a long run never wraps
  uint16_t bar_count = 0;                   // bars in use, 0..141
  double scale = 0.0;                       // pixels of bar height per unit of value, >= 0
  uint8_t colour = 15;                      // fill colour of the bars
  HalvingValue halving;                     // found again whenever scale, y1 or y2 change
};

// Stores the arguments (title cut to 32 bytes) and zeroes every value. Draws nothing.
void panel_init(ChartPanel& panel, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2,
                std::string_view title, uint16_t bar_count, double scale, uint8_t colour);
// Frame and title; no bars.
void panel_draw_frame(const ChartPanel& panel);
// The largest of values[0 .. bar_count - 1].
double panel_max_value(const ChartPanel& panel);
// Clears the plot area and draws every bar. Needs bar_count >= 1.
void panel_redraw(const ChartPanel& panel);
// Adds one to values[index] and shows it; halves the scale and redraws when the bar would reach
// the title band. The single-bar drawing is skipped when the turn only counts: such an increment
// touches neither the surface nor the drawing state unless it halves.
void panel_increment(uint16_t index, ChartPanel& panel, TurnDrawing drawing);

// Whether a bar of `value` would reach the title band: value * scale, formed as an extended real,
// is at least the plot height. The rule of every halving.
bool panel_bar_reaches_band(const ChartPanel& panel, int64_t value);
// The least value >= 0 whose bar reaches the title band at the panel's scale (kNoHalving when no
// int64_t value does). A value reaches the band exactly when it is at least this one, since the
// product grows with the value (rounding keeps the order), so an increment compares two integers
// instead of forming the product. Found by bisection the first time the scale or the frame is
// seen (find_halving_value), and kept in panel.halving; the step loop asks every step, so the
// look at what was found is inline.
uint64_t find_halving_value(ChartPanel& panel);
inline uint64_t panel_halving_value(ChartPanel& panel) {
  const HalvingValue& found = panel.halving;
  if (found.scale == panel.scale && found.y1 == panel.y1 && found.y2 == panel.y2) {
    return found.value;
  }
  return find_halving_value(panel);
}

// Whether the next panel_increment of `index` halves the scale.
inline bool panel_increment_halves(uint16_t index, ChartPanel& panel) {
  return static_cast<uint64_t>(panel.values[index]) + 1 >= panel_halving_value(panel);
}

// Derived geometry, recomputed at every use.
int panel_plot_top(const ChartPanel& panel);             // y1 + th + 10: below the title band
int panel_plot_height(const ChartPanel& panel);          // (y2 - y1) - th - 10
int panel_bar_top(const ChartPanel& panel, int64_t value);  // trunc(y2 - value*scale)
