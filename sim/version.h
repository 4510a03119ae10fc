// What distinguishes the two programs, as data: the chart panels (titles, design rectangles,
// which exist), what record_step feeds, the redraw list on leaving quiet running, the summary
// file and its markers, and the two missing-file messages. The program flow reads the record of
// the version it runs; nothing else asks which version is running.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// A chart of the run screen, by the panel of the run state it lives in.
enum class PanelId { Empirical, Theory, Strip };

struct PanelDesign {
  PanelId id;
  std::string_view title;  // UTF-8 here; converted to code page 852 when the panel is set up
  int16_t x1, y1, x2, y2;  // on the 640x480 design grid
};

struct VersionDescription {
  std::string_view program_name;
  // Panels in the order they are set up.
  std::array<PanelDesign, 3> panels;
  int panel_count;
  // Frames drawn on the run screen, in this order.
  std::array<PanelId, 3> frame_order;
  int frame_count;
  // Panels redrawn on leaving quiet running, in this order (the boxes follow).
  std::array<PanelId, 3> quiet_redraw_order;
  int quiet_redraw_count;
  // True when the run has the theoretical chart and the distance (record_step feeds them).
  bool has_theory;
  std::string_view help_missing_message;     // UTF-8
  std::string_view summary_file;
  std::string_view summary_missing_message;  // UTF-8
};

extern const VersionDescription kSecondVersion;
extern const VersionDescription kFirstVersion;

// The version this process runs (the second one unless set).
const VersionDescription& current_version();
void set_current_version(const VersionDescription& version);
