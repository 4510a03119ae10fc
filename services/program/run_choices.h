// What the person chose for the run on the command line (or in the page), beyond the host's own
// options: the generator's seed, answers to the two prompts, whether the help pages are shown,
// and the folder the run's picture and figures are saved to.
//
// The program entry sets the record once, before the program logic starts, and the logic only
// reads it; tests set it for a scope through ScopedRunChoices. The defaults change nothing: seed
// 0 (the same answers give the same run), both prompts asked, the help pages shown, nothing
// saved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The limits of the two prompts: N in kMinInsects..kMaxInsects, K in 0..N.
constexpr int kMinInsects = 5;
constexpr int kMaxInsects = 140;

struct RunChoices {
  uint32_t seed = 0;                // the generator starts from it
  std::optional<int> insect_count;  // N answered in advance (--n)
  std::optional<int> box1_count;    // K answered in advance (--k); only with N
  bool skip_help = false;           // --no-help
  std::string save_folder;          // --save: where the run's files go; empty: nothing saved
};

// The record in force.
const RunChoices& run_choices();
// Program entry: the person's choices, before the logic starts.
void set_run_choices(RunChoices choices);

// Why the answers given in advance cannot be used, as a notice for the person (the prompts'
// limits, --k without --n); empty when they can.
std::string run_choices_problem(const RunChoices& choices);

// Tests: the record in force replaced for a scope.
class ScopedRunChoices {
 public:
  explicit ScopedRunChoices(RunChoices choices);
  ~ScopedRunChoices();
  ScopedRunChoices(const ScopedRunChoices&) = delete;
  ScopedRunChoices& operator=(const ScopedRunChoices&) = delete;

 private:
  RunChoices previous_;
};
