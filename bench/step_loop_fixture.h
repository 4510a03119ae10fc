// What the step-loop benchmarks share: a run started as the program starts one, one turn of the
// step loop as the program's own loop takes it, and the bare model step that both programs
// measure beside their turns.
#pragma once

#include <benchmark/benchmark.h>

#include <optional>

#include "services/console/headless_console.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"
#include "services/numbers/random.h"
#include "sim/program_flow.h"
#include "sim/run_modes.h"
#include "sim/run_state.h"
#include "sim/step.h"
#include "sim/urn_model.h"
#include "sim/version.h"

// The host record of the run in progress: the caller's console with the run's presenter.
inline std::optional<ScopedHost> bench_run_host;

// The caller's run started afresh: prompts answered with N = 140, K = 70 on the console the
// caller created, the surface opened through `presenter`, the run screen drawn and step 0
// recorded; then the mode is set.
inline void start_bench_run(RunState& run, Presenter& presenter, RunMode mode) {
  bench_run_host.emplace([&presenter](Host& record) { record.presenter = &presenter; });
  reset_run_state(run, kSecondVersion);
  reset_random();
  script_keys("140\r70\r");
  start_run(run);
  run.run_mode = mode;
}

// Closes the surface and uninstalls the presenter, which may go out of scope afterwards.
inline void finish_run() {
  close_graphics();
  bench_run_host.reset();
}

// One turn of the program's loop: the turn, then the host's turn hook.
inline void one_turn(RunState& run) {
  run_turn(run);
  end_of_turn();
}

// The model alone: the draws and the table updates of a move, with nothing drawn (Quiet).
inline void bare_model_step(RunState& run) {
  benchmark::DoNotOptimize(move_insect(run));
  ++run.step_count;
  ++run.empirical_panel.values[run.box1_count];
}

// Reports the iterations as turns a second of the benchmark's clock.
inline void report_turn_rate(benchmark::State& state) {
  state.counters["turns/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

// The bare model step on a 640x480 headless surface, N = 140 in Quiet: what a turn costs before
// anything is drawn or any key looked at.
inline void BM_BareModelStep(benchmark::State& state) {
  HeadlessConsole console;
  HeadlessPresenter presenter(640, 480);
  RunState run;
  start_bench_run(run, presenter, RunMode::Quiet);
  for (auto _ : state) bare_model_step(run);
  report_turn_rate(state);
  finish_run();
}
