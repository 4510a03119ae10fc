// Theoretical distribution and distance.
//
// The coefficients C(N, k) are built by the recurrence C(N, k) = C(N, k - 1)*(N - k + 1)/k over
// the left half only, mirrored to the right half; each step multiplies first and divides second
// as an extended real and stores a double. C(140, 70) is about 9.4e40, far inside a double's range.
// Bar heights are cut to whole pixels with truncate_real, so with N = 140 only the 35 central
// bars of a 82-row plot are at least one pixel high.
#include "charts/theory.h"

#include <array>
#include <cassert>

#include "services/numbers/extended_real.h"

void theory_fill(ChartPanel& panel) {
  const int n = panel.bar_count;
  assert(n >= 1 && n <= kMaxBars);
  if (n < 1 || n > kMaxBars) return;
  std::array<double, kMaxBars> c{};
  c[0] = 1.0;
  c[n - 1] = 1.0;
  for (int k = 1; k <= n / 2; ++k) {
    c[k] = static_cast<double>(extended_real(n - k) * c[k - 1] / k);
    c[n - 1 - k] = c[k];
  }
  const extended_real centre = c[n / 2];
  const extended_real plot_height = panel_plot_height(panel);
  for (int i = 0; i < n; ++i) {
    panel.values[i] = truncate_real(extended_real(c[i]) / centre * plot_height);
  }
  panel.scale = 1.0;
  panel_redraw(panel);
}

// An all-zero panel is normalised by 1 instead of 0, so the distance is always defined. The sum
// is kept as a double, rounded after each term.
double panel_distance(const ChartPanel& a, const ChartPanel& b) {
  extended_real ma = panel_max_value(a);
  if (ma == 0) ma = 1.0;
  extended_real mb = panel_max_value(b);
  if (mb == 0) mb = 1.0;
  double sum = 0.0;
  for (int i = 0; i < a.bar_count; ++i) {
    const extended_real d = extended_real(a.values[i]) / ma - extended_real(b.values[i]) / mb;
    sum = static_cast<double>(sum + d * d);
  }
  return static_cast<double>(extended_sqrt(extended_real(sum)));
}
