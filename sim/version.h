// What distinguishes the two programs, as data: the chart panels (titles, design rectangles,
// which exist), what record_step feeds, the redraw list on leaving quiet running, the summary
// file and its markers, and the two missing-file messages. The texts are messages (messages.h),
// shown in the language in use. The run state points at the record of
// the version it runs; the program flow reads it, and nothing else asks which version is running.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "charts/summary_text.h"
#include "services/text/messages.h"

// A chart of the run screen, by the panel of the run state it lives in.
enum class PanelId : uint8_t { Empirical, Theory, Strip };

struct PanelDesign {
  PanelId id;
  Message title;
  int16_t x1, y1, x2, y2;  // on the 640x480 design grid
};

struct VersionDescription {
  std::span<const PanelDesign> panels;         // in the order they are set up
  std::span<const PanelId> frame_order;        // frames drawn on the run screen, in this order
  std::span<const PanelId> quiet_redraw_order; // redrawn on leaving quiet running (boxes follow)
  bool has_theory;  // record_step feeds the theoretical chart and takes the distance
  Message help_missing_message;
  std::string_view summary_file;                // the name in a language's data folder
  std::span<const SummaryMarker> summary_markers;  // replaced in this order
  Message summary_missing_message;
  std::string_view program_name;  // the program's command, which names its saved files
};

extern const VersionDescription kSecondVersion;
extern const VersionDescription kFirstVersion;
