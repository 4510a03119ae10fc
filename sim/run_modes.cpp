// The run-key wait, the mode state machine and the redraw on leaving quiet running.
#include "sim/run_modes.h"

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "services/console/keyboard.h"
#include "sim/box_view.h"
#include "sim/key_wait.h"
#include "sim/text_frame.h"
#include "sim/version.h"

namespace {

// The run-key wait of the graphics screen. When input has ended the wait acts as V, so a run
// fed from a file ends instead of spinning.
int run_key_wait() {
  int key = kNoKey;
  if (run.run_mode == Stepwise) {
    key = end_of_input() ? 'V' : read_key();
  } else if (key_pressed()) {
    key = read_key();
  } else if (end_of_input()) {
    key = 'V';
  }
  if (key != kNoKey) run.run_mode = mode_for_key(key, run.run_mode);
  return key;
}

// The strip is redrawn in its own slots so that later pushes continue the same picture.
void redraw_panel(PanelId id) {
  if (id == PanelId::Strip) {
    strip_redraw(run.strip_panel);
  } else {
    panel_redraw(panel_of(id));
  }
}

}  // namespace

RunMode mode_for_key(int key, RunMode current) {
  switch (key) {
    case 'C': case 'c': return Quiet;
    case 'L': case 'l': return Stepwise;
    case 'N': case 'n': return Normal;
    case 'V': case 'v': return Finish;
    default: return current;
  }
}

int key_wait() { return run.screen_state == 1 ? page_prompt() : run_key_wait(); }

void redraw_after_quiet() {
  const VersionDescription& version = current_version();
  for (int i = 0; i < version.quiet_redraw_count; ++i) redraw_panel(version.quiet_redraw_order[i]);
  redraw_boxes();
}

bool poll_run_keys() {
  const RunMode before = run.run_mode;
  const int key = key_wait();
  const bool leaves_quiet = key == 'L' || key == 'l' || key == 'N' || key == 'n';
  if (before == Quiet && leaves_quiet) redraw_after_quiet();
  return run.run_mode == Finish;
}
