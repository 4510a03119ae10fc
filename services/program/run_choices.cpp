// The person's choices for the run, and the check of the answers given in advance.
#include "services/program/run_choices.h"

#include <utility>

#include "services/text/notices.h"

namespace {

RunChoices& choices_in_force() {
  static RunChoices record;
  return record;
}

}  // namespace

const RunChoices& run_choices() { return choices_in_force(); }

void set_run_choices(RunChoices choices) { choices_in_force() = std::move(choices); }

std::string run_choices_problem(const RunChoices& choices) {
  if (!choices.insect_count) {
    return choices.box1_count ? notice::box1_needs_insects() : std::string();
  }
  const int n = *choices.insect_count;
  if (n < kMinInsects || n > kMaxInsects) {
    return notice::answer_out_of_range("--n", n, kMinInsects, kMaxInsects);
  }
  if (choices.box1_count && (*choices.box1_count < 0 || *choices.box1_count > n)) {
    return notice::answer_out_of_range("--k", *choices.box1_count, 0, n);
  }
  return {};
}

ScopedRunChoices::ScopedRunChoices(RunChoices choices) : previous_(run_choices()) {
  set_run_choices(std::move(choices));
}

ScopedRunChoices::~ScopedRunChoices() { set_run_choices(std::move(previous_)); }
