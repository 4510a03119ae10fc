// The run's reset and its panels by name.
#include "sim/run_state.h"

#include <utility>

void reset_run_state(RunState& run, const VersionDescription& version) {
  std::vector<uint8_t> insect_image = std::move(run.insect_image);
  run = RunState{};
  run.version = &version;
  insect_image.clear();
  run.insect_image = std::move(insect_image);
}

ChartPanel& panel_of(RunState& run, PanelId id) {
  switch (id) {
    case PanelId::Empirical: return run.empirical_panel;
    case PanelId::Theory: return run.theory_panel;
    case PanelId::Strip: break;
  }
  return run.strip.panel;
}
