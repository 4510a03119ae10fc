// The files kept at the run's end (see run_files.h).
#include "services/program/run_files.h"

#include <optional>
#include <utility>

namespace {

bool wanted_now = false;
std::optional<RunFiles> kept;

}  // namespace

void want_run_files(bool wanted) { wanted_now = wanted; }

bool run_files_wanted() { return wanted_now; }

void keep_run_files(RunFiles files) { kept = std::move(files); }

const RunFiles* kept_run_files() { return kept ? &*kept : nullptr; }
