// Turns of the step loop per second on headless surfaces, N = 140, in Quiet and in Normal,
// beside a bare model step (the random draws and the table updates, nothing drawn).
#include <benchmark/benchmark.h>

#include "services/graphics/graphics.h"
#include "services/console/headless_console.h"
#include "services/numbers.h"
#include "services/turn_hook.h"
#include "services/graphics/presenter.h"
#include "sim/program_flow.h"
#include "sim/run_state.h"
#include "sim/step.h"
#include "sim/version.h"

namespace {

// Prompts answered with N = 140, K = 70; the run screen drawn and step 0 recorded.
void start_bench_run(HeadlessConsole&, int width, int height, RunMode mode) {
  static HeadlessPresenter presenter(640, 480);
  presenter = HeadlessPresenter(width, height);
  set_presenter(&presenter);
  reset_run_state(kSecondVersion);
  reset_random();
  script_keys("140\r70\r");
  start_run();
  run.run_mode = mode;
}

void BM_StepLoop(benchmark::State& state, RunMode mode) {
  HeadlessConsole console;
  start_bench_run(console, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), mode);
  for (auto _ : state) {  // the program's own loop: a turn, then the host's turn hook
    run_turn();
    end_of_turn();
  }
  state.counters["turns/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

void BM_Quiet(benchmark::State& state) { BM_StepLoop(state, RunMode::Quiet); }
void BM_Normal(benchmark::State& state) { BM_StepLoop(state, RunMode::Normal); }

// The model alone: the draws and the table updates of a move, with nothing drawn.
void BM_BareModelStep(benchmark::State& state) {
  HeadlessConsole console;
  start_bench_run(console, 640, 480, RunMode::Quiet);
  for (auto _ : state) {
    move_insect();
    ++run.step_count;
    ++run.empirical_panel.values[run.box1_count];
  }
  state.counters["turns/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_BareModelStep);
BENCHMARK(BM_Quiet)->Args({640, 480})->Args({1920, 1017});
BENCHMARK(BM_Normal)->Args({640, 480})->Args({1920, 1017});
BENCHMARK_MAIN();
