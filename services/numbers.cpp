// Random numbers over MT19937 (seeded 0 unless the run's seed says otherwise), truncation and
// number text.
#include "services/numbers.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace {

// std::mt19937 is the standard MT19937 (624 words, twist matrix 0x9908B0DF, shift 397 and the
// standard tempering); it is default-constructible with any seed, here 0.
std::mt19937 generator(0);

}  // namespace

int32_t random_below(int32_t n) {
  const uint64_t output = generator();
  return static_cast<int32_t>((static_cast<uint64_t>(static_cast<uint32_t>(n)) * output) >> 32);
}

void reset_random(uint32_t seed) { generator.seed(seed); }

int64_t truncate_real(extended_real value) {
#if LDBL_MANT_DIG == 64
  return static_cast<int64_t>(std::trunc(value));
#else
  return trunc_to_int64(value);
#endif
}

std::string int_to_text(int64_t value, int width, std::size_t max_length) {
  std::string text = std::to_string(value);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  if (text.size() > max_length) text.resize(max_length);
  return text;
}

std::string real_to_text(double value, int width, int decimals) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
  return buffer;
}

std::string zoom_text(double zoom) {
  const auto hundredths = static_cast<int64_t>(std::floor(zoom * 100 + 1e-9));
  std::string text = std::to_string(hundredths / 100);
  const int64_t fraction = hundredths % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}
