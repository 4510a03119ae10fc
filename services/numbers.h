// Random numbers, real-to-integer conversion and number text.
//
// Every random choice of a run comes from random_below over one MT19937 generator that starts
// from the run's seed (0 unless the person gives another) and is never reseeded during the run,
// so the same answers at the prompts and the same seed give the same run.
// Reals are computed as extended reals (extended_real.h: the x87 80-bit format on every target)
// and cut to integers by truncate_real only.
#pragma once

#include <cstdint>
#include <string>

#include "services/extended_real.h"

// A value in 0 .. n - 1: the high 32 bits of n times the next 32-bit generator output.
// Every call consumes exactly one output. n must be at least 1.
int32_t random_below(int32_t n);

// Starts the generator again from `seed`; seed 0 is the state at program start (program entry
// and tests).
void reset_random(uint32_t seed = 0);

// The real cut toward zero: 2.999 gives 2, -2.5 gives -2.
int64_t truncate_real(extended_real value);

// Decimal text, "-" in front of negatives, padded on the left with blanks to `width`
// characters (0 = no padding); a longer text stays whole. Cut to `max_length` characters.
std::string int_to_text(int64_t value, int width = 0, std::size_t max_length = 255);

// Fixed-point text with exactly `decimals` decimals, padded on the left to `width`.
std::string real_to_text(double value, int width, int decimals);

// A zoom as a person writes it: a whole number alone ("2"), else up to two decimals without
// trailing zeros ("1.5", "1.67"), cut down rather than rounded up.
std::string zoom_text(double zoom);
