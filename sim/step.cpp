// The recording of a step.
#include "sim/step.h"

#include <optional>

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "charts/theory.h"
#include "services/graphics/graphics.h"
#include "sim/run_state.h"
#include "sim/status_box.h"

// A quiet step that halves no scale draws nothing: its status box is deferred, and it takes no
// drawing lock (nothing it does touches the surface or its drawing state). Any other step's
// drawing is one hold of the lock (nested in a drawing turn's).
void record_step(RunState& run) {
  const auto count = static_cast<uint16_t>(run.box1_count);
  const TurnDrawing drawing = turn_drawing(run);
  std::optional<DrawingBatch> step;
  if (drawing == TurnDrawing::CountOnly && !panel_increment_halves(count, run.empirical_panel)) {
    status_box().defer(run.step_count);
  } else {
    step.emplace();
    draw_status_box(run);
  }
  panel_increment(count, run.empirical_panel, drawing);
  strip_push(count, run.strip, drawing);
  if (!run.version->has_theory) return;
  if (run.step_count == 0) theory_fill(run.theory_panel);
  if (run.step_count == 1) {
    run.first_step_distance = panel_distance(run.empirical_panel, run.theory_panel);
  }
}
