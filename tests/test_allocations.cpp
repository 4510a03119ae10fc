// No heap allocation per turn: the step loop, in every run mode, for the largest and a small N,
// and at step counts of every length, allocates nothing once its first turn is made.
//
// The test binary's global operator new counts the allocations it makes (each form of new goes
// through one of the two counting functions below). The sanitizer build brings its own operator
// new, so there the count is not taken.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "program_fixture.h"
#include "sanitizer_build.h"

namespace {

std::atomic<uint64_t> allocation_count{0};

}  // namespace

#ifndef ZORVAN_TEST_SANITIZER

void* operator new(std::size_t size) {
  allocation_count.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void* operator new(std::size_t size, std::align_val_t alignment) {
  allocation_count.fetch_add(1, std::memory_order_relaxed);
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return block;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return ::operator new(size, alignment);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

#endif

namespace {

const struct {
  const char* name;
  char key;  // typed before the first turn; Stepwise gets one for every turn
} kModes[] = {{"Stepwise", 'l'}, {"Normal", 'n'}, {"Quiet", 'c'}};

}  // namespace

class Allocations : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    if (kSanitizerBuild) GTEST_SKIP() << "the sanitizer build brings its own operator new";
  }

  // Heap allocations made by `count` turns in the mode of `key`, after the first turn of a run of
  // N insects whose step counter was set to `start`.
  uint64_t allocations_in_turns(int n, char key, int64_t start, int count) {
    start_run(n, n / 3);
    run.step_count = start;
    script_keys(std::string(key == 'l' ? count + 1 : 1, key));
    EXPECT_EQ(turns(1), 1);
    const uint64_t before = allocation_count.load();
    EXPECT_EQ(turns(count), count);
    return allocation_count.load() - before;
  }
};

TEST_F(Allocations, CountingNewSeesAnAllocation) {
  const uint64_t before = allocation_count.load();
  const std::string text(100, 'x');  // longer than a short-string buffer
  EXPECT_EQ(allocation_count.load() - before, 1u) << text.size();
}

TEST_F(Allocations, NoneAfterTheFirstTurnInAnyMode) {
  for (const int n : {140, 5}) {
    for (const auto& mode : kModes) {
      EXPECT_EQ(allocations_in_turns(n, mode.key, 0, 100'000), 0u) << mode.name << ", N = " << n;
    }
  }
}

// The status box is drawn every turn, in every mode: its text must not need the heap however
// many digits the count has.
TEST_F(Allocations, NoneForStepCountsOfThirteenDigitsAndMore) {
  const int64_t starts[] = {999'999'999'999, 9'223'372'036'854'000'000};
  for (const auto& mode : kModes) {
    for (const int64_t start : starts) {
      EXPECT_EQ(allocations_in_turns(140, mode.key, start, 1'000), 0u)
          << mode.name << ", from step " << start;
    }
  }
}
