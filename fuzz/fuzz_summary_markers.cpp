// Fuzz target: the summary's marker replacement on arbitrary lines and figures.
//
// Input: 40 bytes of figures (step count, insect count, box 1 count as 64-bit integers, the two
// distances as doubles, all little-endian and of any value: NaN and infinities too), then the
// line. The markers are those of the second program, which holds every marker of the first.
//
// Checked: a line of at most 80 bytes stays within 80; no marker of the list is left; a line
// without any marker comes back unchanged. A replacement that never ends shows as libFuzzer's
// timeout.
#include <cstddef>
#include <cstdint>
#include <string>

#include "charts/summary_text.h"
#include "fuzz/fuzz_check.h"
#include "sim/version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzBytes input(data, size);
  SummaryFigures figures;
  figures.step_count = input.value<int64_t>();
  figures.insect_count = input.value<int64_t>();
  figures.box1_count = input.value<int64_t>();
  figures.first_step_distance = input.value<double>();
  figures.final_distance = input.value<double>();
  const std::string original(input.rest());

  const auto markers = kSecondVersion.summary_markers;
  bool had_marker = false;
  for (const SummaryMarker& marker : markers) {
    had_marker = had_marker || original.find(marker.text) != std::string::npos;
  }

  std::string line = original;
  replace_markers(line, markers, summary_figure_texts(figures));

  if (original.size() <= kSummaryLineLimit) FUZZ_CHECK(line.size() <= kSummaryLineLimit);
  for (const SummaryMarker& marker : markers)
    FUZZ_CHECK(line.find(marker.text) == std::string::npos);
  if (!had_marker) FUZZ_CHECK(line == original);
  return 0;
}
