// The model's placement and step.
#include "sim/urn_model.h"

#include "services/numbers/random.h"
#include "services/numbers/extended_real.h"

namespace {

// A random cell of the grid, column drawn before row.
InsectRecord random_cell(const UrnModel& model, int box) {
  const auto column = static_cast<int16_t>(random_below(model.grid_columns) + 1);
  const auto row = static_cast<int16_t>(random_below(model.grid_rows) + 1);
  return InsectRecord{static_cast<uint8_t>(box), column, row};
}

bool cell_is_taken(const UrnModel& model, const InsectRecord& cell) {
  return model.cell_taken[cell.box][cell.column][cell.row] != 0;
}

void mark_cell(UrnModel& model, const InsectRecord& cell, int32_t value) {
  model.cell_taken[cell.box][cell.column][cell.row] = value;
}

// Insects first..last go to `box`, each on a distinct random cell.
void place_range(UrnModel& model, int first, int last, int box) {
  for (int i = first; i <= last; ++i) {
    InsectRecord cell;
    do {
      cell = random_cell(model, box);
    } while (cell_is_taken(model, cell));
    model.insects[i] = cell;
    mark_cell(model, cell, 1);
  }
}

// A free cell of the target box: column 1, row 1 first, then random cells until one is free.
// One always exists: the box has s*s >= N cells and holds at most N - 1 insects before the move.
InsectRecord choose_free_cell(const UrnModel& model, int box) {
  InsectRecord cell{static_cast<uint8_t>(box), 1, 1};
  while (cell_is_taken(model, cell)) cell = random_cell(model, box);
  return cell;
}

}  // namespace

uint16_t grid_side(int n) {
  auto s = static_cast<uint16_t>(truncate_real(extended_sqrt(n)));
  while (s * s < n) ++s;
  return s;
}

void set_up_grid(UrnModel& model) {
  const uint16_t s = grid_side(model.insect_count);
  model.grid_columns = s;
  model.grid_rows = s;
}

void place_insects(UrnModel& model) {
  for (int box = 1; box <= 2; ++box) {
    for (int column = 1; column <= model.grid_columns; ++column) {
      for (int row = 1; row <= model.grid_rows; ++row) model.cell_taken[box][column][row] = 0;
    }
  }
  place_range(model, 1, model.box1_count, 1);
  place_range(model, model.box1_count + 1, model.insect_count, 2);
}

InsectMove move_insect(UrnModel& model) {
  const int i = random_below(model.insect_count) + 1;
  InsectRecord& insect = model.insects[i];
  const InsectRecord from = insect;
  mark_cell(model, from, 0);
  model.box1_count = static_cast<int16_t>(model.box1_count + (from.box == 1 ? -1 : 1));
  insect = choose_free_cell(model, 3 - from.box);
  mark_cell(model, insect, 1);
  return InsectMove{i, from, insect};
}
