// Random numbers: every random choice of a run comes from random_below over one MT19937
// generator that starts from the run's seed (0 unless the person gives another) and is never
// reseeded during the run, so the same answers at the prompts and the same seed give the same
// run.
#pragma once

#include <cstdint>

// A value in 0 .. n - 1: the high 32 bits of n times the next 32-bit generator output.
// Every call consumes exactly one output. n must be at least 1.
int32_t random_below(int32_t n);

// Starts the generator again from `seed`; seed 0 is the state at program start (program entry
// and tests).
void reset_random(uint32_t seed = 0);
