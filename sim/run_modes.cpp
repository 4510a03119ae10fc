// The turn's look at the keyboard and the redraw on leaving quiet running.
#include "sim/run_modes.h"

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "sim/box_view.h"
#include "sim/key_wait.h"

namespace {

// The strip is redrawn in its own slots so that later pushes continue the same picture.
void redraw_panel(RunState& run, PanelId id) {
  if (id == PanelId::Strip) {
    strip_redraw(run.strip);
  } else {
    panel_redraw(panel_of(run, id));
  }
}

}  // namespace

void redraw_after_quiet(RunState& run) {
  for (const PanelId id : run.version->quiet_redraw_order) redraw_panel(run, id);
  redraw_boxes(run);
}

bool poll_run_keys(RunState& run) {
  const RunMode before = run.run_mode;
  const int key = key_wait(run);
  const bool leaves_quiet = key == 'L' || key == 'l' || key == 'N' || key == 'n';
  if (before == RunMode::Quiet && leaves_quiet) redraw_after_quiet(run);
  return run.run_mode == RunMode::Finish;
}
