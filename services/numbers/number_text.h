// Numbers as the programs write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Decimal text, "-" in front of negatives, padded on the left with blanks to `width`
// characters (0 = no padding); a longer text stays whole. Cut to `max_length` characters.
std::string int_to_text(int64_t value, int width = 0, std::size_t max_length = 255);

// Fixed-point text with exactly `decimals` decimals, padded on the left to `width`.
std::string real_to_text(double value, int width, int decimals);

// A zoom as a person writes it: a whole number alone ("2"), else up to two decimals without
// trailing zeros ("1.5", "1.67"), cut down rather than rounded up.
std::string zoom_text(double zoom);
