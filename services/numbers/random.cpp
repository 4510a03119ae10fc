// Random numbers over MT19937 (see random.h).
#include "services/numbers/random.h"

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
