// The summary text's markers and their replacement by the figures of the run.
//
// A summary file is plain code page 852 text in which markers such as "<@T@>" stand for the run's
// figures. Each line is read cut to 80 characters; then every marker of the program's list, in
// list order, is replaced at each of its occurrences (case-sensitive, exact), the line being cut
// to 80 characters again after each replacement. A marker cut by the 80-character read is not
// recognised, and text pushed past the 80th character by a replacement is lost.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The longest line of a summary file the program uses, before and after replacement.
constexpr std::size_t kSummaryLineLimit = 80;

// The figures a marker can stand for.
enum class SummaryFigure : uint8_t {
  StepCount,          // T when the step loop ended: decimal, shortest form
  InsectCount,        // N: decimal, shortest form
  Box1Count,          // the count of box 1 at the end: decimal, shortest form
  FirstStepDistance,  // the distance taken at step 1: 2 decimals in 5 characters
  FinalDistance,      // the distance at the end: 2 decimals in 5 characters
};
constexpr std::size_t kSummaryFigureCount = 5;

struct SummaryMarker {
  std::string_view text;  // e.g. "<@T@>"
  SummaryFigure figure;
};

struct SummaryFigures {
  int64_t step_count = 0;
  int64_t insect_count = 0;
  int64_t box1_count = 0;
  double first_step_distance = 0.0;
  double final_distance = 0.0;
};

// The text of every figure, indexed by SummaryFigure.
using SummaryFigureTexts = std::array<std::string, kSummaryFigureCount>;
SummaryFigureTexts summary_figure_texts(const SummaryFigures& figures);

// The line split around the first occurrence of `marker`, which must occur in it.
struct MarkerSplit {
  std::string before, after;
};
MarkerSplit split_at_marker(std::string_view line, std::string_view marker);

// Replaces the markers in `line` as described above.
void replace_markers(std::string& line, std::span<const SummaryMarker> markers,
                     const SummaryFigureTexts& texts);
