// The one run-state record.
#include "sim/run_state.h"

#include <utility>

RunState run;

void reset_run_state(const VersionDescription& version) {
  std::vector<uint8_t> insect_image = std::move(run.insect_image);
  run = RunState{};
  run.version = &version;
  insect_image.clear();
  run.insect_image = std::move(insect_image);
}

ChartPanel& panel_of(PanelId id) {
  switch (id) {
    case PanelId::Empirical: return run.empirical_panel;
    case PanelId::Theory: return run.theory_panel;
    case PanelId::Strip: break;
  }
  return run.strip.panel;
}
