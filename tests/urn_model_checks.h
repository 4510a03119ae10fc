// What holds of the urn model after any number of steps, for the tests of the model and of runs.
#pragma once

#include <gtest/gtest.h>

#include "sim/urn_model.h"

// Every insect sits on a taken cell of its box, no other cell is taken, and box1_count agrees.
inline void expect_consistent(const UrnModel& model) {
  int taken = 0, in_box1 = 0;
  for (int box = 1; box <= 2; ++box) {
    for (int c = 1; c <= model.grid_columns; ++c) {
      for (int r = 1; r <= model.grid_rows; ++r) taken += model.cell_taken[box][c][r];
    }
  }
  for (int i = 1; i <= model.insect_count; ++i) {
    const InsectRecord& insect = model.insects[i];
    ASSERT_EQ(model.cell_taken[insect.box][insect.column][insect.row], 1) << i;
    in_box1 += insect.box == 1;
  }
  EXPECT_EQ(taken, model.insect_count);
  EXPECT_EQ(in_box1, model.box1_count);
}
