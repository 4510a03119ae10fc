// Marker replacement in the lines of a summary file.
#include "charts/summary_text.h"

#include <cassert>

#include "services/numbers/number_text.h"

namespace {

constexpr int kDistanceWidth = 5;
constexpr int kDistanceDecimals = 2;

}  // namespace

SummaryFigureTexts summary_figure_texts(const SummaryFigures& figures) {
  SummaryFigureTexts texts;
  texts[static_cast<std::size_t>(SummaryFigure::StepCount)] = int_to_text(figures.step_count);
  texts[static_cast<std::size_t>(SummaryFigure::InsectCount)] = int_to_text(figures.insect_count);
  texts[static_cast<std::size_t>(SummaryFigure::Box1Count)] = int_to_text(figures.box1_count);
  texts[static_cast<std::size_t>(SummaryFigure::FirstStepDistance)] =
      real_to_text(figures.first_step_distance, kDistanceWidth, kDistanceDecimals);
  texts[static_cast<std::size_t>(SummaryFigure::FinalDistance)] =
      real_to_text(figures.final_distance, kDistanceWidth, kDistanceDecimals);
  return texts;
}

MarkerSplit split_at_marker(std::string_view line, std::string_view marker) {
  const std::size_t p = line.find(marker);
  assert(p != std::string_view::npos);
  return {std::string(line.substr(0, p)), std::string(line.substr(p + marker.size()))};
}

// Each occurrence is searched for in the line as it stands after the previous replacement; the
// figure texts are digits, blanks, '-' and '.', so a replacement never forms a new marker of
// its own and the loop ends.
void replace_markers(std::string& line, std::span<const SummaryMarker> markers,
                     const SummaryFigureTexts& texts) {
  for (const SummaryMarker& marker : markers) {
    if (marker.text.empty()) continue;
    const std::string& figure = texts[static_cast<std::size_t>(marker.figure)];
    while (line.find(marker.text) != std::string::npos) {
      const MarkerSplit split = split_at_marker(line, marker.text);
      line = split.before + figure + split.after;
      if (line.size() > kSummaryLineLimit) line.resize(kSummaryLineLimit);
    }
  }
}
