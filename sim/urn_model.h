// The urn model: N insects spread over two boxes, and its step.
//
// Each box is a square of s x s cells, s the least integer with s*s >= N, so a box has room for
// every insect. A cell is (box, column, row), box 1 or 2, column and row 1..s. Every insect sits
// on one cell of its box, no two on the same cell, and cell_taken marks exactly the cells insects
// sit on; box1_count counts the insects of box 1. A step changes these and nothing else.
//
// The model draws nothing and knows no surface: the box view draws it (box_view.h), and the step
// answers what moved so that the box view can show the move. Its random choices are all
// random_below's (services/numbers/random.h), in the order stated beside each operation: the
// same answers and the same seed give the same run.
#pragma once

#include <array>
#include <cstdint>

#include "services/program/run_choices.h"

constexpr int kMaxGrid = 12;  // s for the largest N (140)

struct InsectRecord {
  uint8_t box = 0;     // 1 or 2
  int16_t column = 0;  // 1..grid_columns
  int16_t row = 0;     // 1..grid_rows
};

struct UrnModel {
  int16_t insect_count = 0;  // N, 5..140 once entered
  int16_t box1_count = 0;    // K as entered, then the current count of box 1
  int64_t step_count = 0;    // T: moves made (64-bit: quiet running passes 2^31 in minutes)
  std::array<InsectRecord, kMaxInsects + 1> insects{};  // indexed 1..N
  // cell_taken[box][column][row], each index 1-based; 1 when an insect sits there.
  int32_t cell_taken[3][kMaxGrid + 1][kMaxGrid + 1] = {};
  uint16_t grid_columns = 0, grid_rows = 0;  // s, the least integer with s*s >= N
};

// What one step moved: the insect, the cell it left and the cell it came to (in the other box).
struct InsectMove {
  int insect = 0;  // 1..N
  InsectRecord from, to;
};

// The least s with s*s >= n.
uint16_t grid_side(int n);

// Sizes the grid for N insects: s columns and s rows.
void set_up_grid(UrnModel& model);

// Empties every cell, then puts insects 1..K into box 1 and K+1..N into box 2, each on a distinct
// random cell of its box (column drawn before row, drawn again while the cell is taken). Needs
// the grid sized.
void place_insects(UrnModel& model);

// One insect, chosen at random among all N, flies into the other box. The first cell tried in
// the target box is column 1, row 1; only when it is taken are random cells drawn (column, then
// row) until a free one comes. T is the caller's to count.
[[nodiscard]] InsectMove move_insect(UrnModel& model);
