// The model's step and the recording of a step.
#include "sim/step.h"

#include <optional>

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "charts/theory.h"
#include "services/graphics/graphics.h"
#include "services/numbers.h"
#include "sim/box_view.h"
#include "sim/run_state.h"
#include "sim/status_box.h"

namespace {

// A free cell of the target box: column 1, row 1 first, then random cells until one is free.
// One always exists: the box has s*s >= N cells and holds at most N - 1 insects before the move.
void choose_free_cell(int box, int16_t& column, int16_t& row) {
  column = 1;
  row = 1;
  while (run.cell_taken[box][column][row] == 1) {
    column = static_cast<int16_t>(random_below(run.grid_columns) + 1);
    row = static_cast<int16_t>(random_below(run.grid_rows) + 1);
  }
}

}  // namespace

void move_insect() {
  const int i = random_below(run.insect_count) + 1;
  InsectRecord& insect = run.insects[i];
  const int from = insect.box;
  const int to = 3 - from;
  clear_cell(from, insect.column, insect.row);
  run.cell_taken[from][insect.column][insect.row] = 0;
  run.box1_count = static_cast<int16_t>(run.box1_count + (from == 1 ? -1 : 1));
  int16_t column = 0;
  int16_t row = 0;
  choose_free_cell(to, column, row);
  insect = InsectRecord{static_cast<uint8_t>(to), column, row};
  run.cell_taken[to][column][row] = 1;
  draw_insect(to, column, row);
}

// A quiet step that halves no scale draws nothing: its status box is deferred, and it takes no
// drawing lock (nothing it does touches the surface or its drawing state). Any other step's
// drawing is one hold of the lock (nested in a drawing turn's).
void record_step() {
  const auto count = static_cast<uint16_t>(run.box1_count);
  const TurnDrawing drawing = turn_drawing();
  std::optional<DrawingBatch> step;
  if (drawing == TurnDrawing::CountOnly && !panel_increment_halves(count, run.empirical_panel)) {
    status_box().defer(run.step_count);
  } else {
    step.emplace();
    draw_status_box();
  }
  panel_increment(count, run.empirical_panel, drawing);
  strip_push(count, run.strip, drawing);
  if (!run.version->has_theory) return;
  if (run.step_count == 0) theory_fill(run.theory_panel);
  if (run.step_count == 1) {
    run.first_step_distance = panel_distance(run.empirical_panel, run.theory_panel);
  }
}
