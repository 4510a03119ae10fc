// The run's figures for the editions (see live_figures.h). The figures the summary also gives
// come from the summary's own reading of the run, so the panel beside the picture and the
// summary's pages agree at the end of a run.
#include "sim/live_figures.h"

#include "sim/summary_report.h"

namespace {

LiveFigures figures_of(const void* run) { return live_figures(*static_cast<const RunState*>(run)); }

}  // namespace

LiveFigures live_figures(const RunState& run) {
  const SummaryFigures summary = run_figures(run);
  LiveFigures figures;
  figures.valid = true;
  figures.step_count = summary.step_count;
  figures.insect_count = static_cast<int32_t>(summary.insect_count);
  figures.box1_count = static_cast<int32_t>(summary.box1_count);
  figures.box2_count = figures.insect_count - figures.box1_count;
  figures.half = figures.insect_count / 2.0;
  figures.has_distance = run.version->has_theory;
  figures.distance = summary.final_distance;
  figures.first_step_distance = summary.first_step_distance;
  figures.pace = run.pace;
  figures.run_mode = static_cast<int32_t>(run.run_mode);
  figures.seed = run.seed;
  return figures;
}

ScopedLiveFigures::ScopedLiveFigures(const RunState& run) : run_(run) {
  install_figures_source({figures_of, &run_});
}

ScopedLiveFigures::~ScopedLiveFigures() { keep_last_figures(live_figures(run_)); }
