// The theoretical distribution of the count of box 1 (binomial coefficients drawn as bars whose
// central bar fills the plot height) and the distance between two distributions.
#pragma once

#include "charts/chart_panel.h"

// Sets values[i] to the pixel height of C(n - 1, i) for the panel's n = bar_count bars, the
// central coefficient being the full plot height; sets scale to 1.0 and redraws the panel, in
// every run mode. Needs 1 <= bar_count <= 141.
void theory_fill(ChartPanel& panel);

// The square root of the summed squared differences of the two distributions, each divided by
// its own largest value (an all-zero panel by 1). Bars 0 .. a.bar_count - 1 are compared.
// Needs no graphics surface.
double panel_distance(const ChartPanel& a, const ChartPanel& b);
