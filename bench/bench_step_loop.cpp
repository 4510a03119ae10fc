// Turns of the step loop per second on headless surfaces, N = 140, in Quiet and in Normal,
// beside a bare model step (the random draws and the table updates, nothing drawn), and how
// often a turn takes the drawing lock; and the status box alone.
#include <benchmark/benchmark.h>

#include "sim/status_box.h"
#include "step_loop_fixture.h"

namespace {

void BM_StepLoop(benchmark::State& state, RunMode mode) {
  HeadlessConsole console;
  HeadlessPresenter presenter(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  RunState run;
  start_bench_run(run, presenter, mode);
  const uint64_t locks = drawing_lock_count();
  for (auto _ : state) one_turn(run);
  report_turn_rate(state);
  state.counters["locks/turn"] = benchmark::Counter(
      static_cast<double>(drawing_lock_count() - locks), benchmark::Counter::kAvgIterations);
  finish_run();
}

void BM_Quiet(benchmark::State& state) { BM_StepLoop(state, RunMode::Quiet); }
void BM_Normal(benchmark::State& state) { BM_StepLoop(state, RunMode::Normal); }

// The status box of one turn, inside the turn's drawing batch: as a step draws it (only the
// changed glyph cells) and drawn whole every time, as it was before.
void BM_StatusBox(benchmark::State& state, bool whole) {
  HeadlessConsole console;
  HeadlessPresenter presenter(1920, 1017);
  RunState run;
  start_bench_run(run, presenter, RunMode::Quiet);
  run.step_count = state.range(0);
  for (auto _ : state) {
    const DrawingBatch turn;
    ++run.step_count;
    if (whole) status_box().forget();
    draw_status_box(run);
  }
  finish_run();
}

void BM_StatusBoxStep(benchmark::State& state) { BM_StatusBox(state, false); }
void BM_StatusBoxWhole(benchmark::State& state) { BM_StatusBox(state, true); }

}  // namespace

BENCHMARK(BM_BareModelStep);
// From 1,000,000 (seven digits, the last glyph cell reaching into the outline) and from
// 10,000,000 (eight digits, a wider box).
BENCHMARK(BM_StatusBoxStep)->Arg(1'000'000)->Arg(10'000'000);
BENCHMARK(BM_StatusBoxWhole)->Arg(1'000'000)->Arg(10'000'000);
BENCHMARK(BM_Quiet)->Args({640, 480})->Args({1920, 1017});
BENCHMARK(BM_Normal)->Args({640, 480})->Args({1920, 1017});
BENCHMARK_MAIN();
