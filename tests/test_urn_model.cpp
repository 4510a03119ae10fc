// The urn model on its own: no console, no surface, no run around it.
#include <gtest/gtest.h>

#include "services/graphics/presenter.h"
#include "services/numbers/random.h"
#include "sim/urn_model.h"
#include "urn_model_checks.h"

namespace {

bool same_cell(const InsectRecord& a, const InsectRecord& b) {
  return a.box == b.box && a.column == b.column && a.row == b.row;
}

}  // namespace

// The box view draws a step from what it answers, so the answer must be the whole change: the
// insect's cell before and after, in the other box, and no other insect moved. The model draws
// nothing (a drawing would take the drawing lock).
TEST(UrnModel, AMoveAnswersExactlyWhatChangedAndDrawsNothing) {
  reset_random();
  UrnModel model;
  model.insect_count = 140;
  model.box1_count = 0;
  set_up_grid(model);
  place_insects(model);
  expect_consistent(model);
  const uint64_t locks = drawing_lock_count();
  for (int step = 0; step < 5000; ++step) {
    const UrnModel before = model;
    const InsectMove move = move_insect(model);
    ASSERT_TRUE(move.insect >= 1 && move.insect <= 140);
    ASSERT_TRUE(same_cell(move.from, before.insects[move.insect]));
    ASSERT_TRUE(same_cell(move.to, model.insects[move.insect]));
    ASSERT_EQ(move.to.box, 3 - move.from.box);
    ASSERT_EQ(model.box1_count - before.box1_count, move.from.box == 1 ? -1 : 1);
    for (int i = 1; i <= 140; ++i) {
      if (i == move.insect) continue;
      ASSERT_TRUE(same_cell(model.insects[i], before.insects[i])) << i;
    }
  }
  expect_consistent(model);
  EXPECT_EQ(model.step_count, 0) << "T is the caller's to count";
  EXPECT_EQ(drawing_lock_count(), locks);
}
