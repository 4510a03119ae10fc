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

struct ChartPanel {
  uint16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // frame, surface pixels, inclusive
  std::string title;                        // code page 852, at most 32 bytes
  std::array<int64_t, kMaxBars> values{};   // bar values, 64-bit so a long run never wraps
  uint16_t bar_count = 0;                   // bars in use, 0..141
  double scale = 0.0;                       // pixels of bar height per unit of value
  uint8_t colour = 15;                      // fill colour of the bars
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
// the title band. The single-bar drawing is skipped when the turn only counts.
void panel_increment(uint16_t index, ChartPanel& panel, TurnDrawing drawing);

// Derived geometry, recomputed at every use.
int panel_plot_top(const ChartPanel& panel);             // y1 + th + 10: below the title band
int panel_plot_height(const ChartPanel& panel);          // (y2 - y1) - th - 10
int panel_bar_top(const ChartPanel& panel, int64_t value);  // trunc(y2 - value*scale)
