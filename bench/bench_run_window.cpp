// Turns of the step loop per second with the SDL window presenter attached, as the programs run
// it, beside the same turns on a headless surface of the same size and a bare model step, all in
// one run (N = 140, K = 70).
//
// As in the programs, the main thread runs the window presenter and a second thread (here the
// benchmark thread) runs the step loop. The window's surface is the size of the display's usable
// area: start the program on an X server of the size wanted. bench/run_window_bench.sh starts
// Xvfb at 640x480 and at 1920x1017 and runs this program on each. Every figure is per second of
// wall-clock time, so that the window's share of the two cores counts.
#include <benchmark/benchmark.h>

#include <atomic>
#include <exception>
#include <string>
#include <thread>

#include "services/desktop/window_presenter.h"
#include "step_loop_fixture.h"

namespace {

WindowPresenter* the_window = nullptr;  // initialised on the main thread; null: no display

// A surface that does not open (no window) is reported as the benchmark's error, not a crash.
void step_loop(benchmark::State& state, Presenter& presenter, RunMode mode) {
  HeadlessConsole console;
  try {
    RunState run;
    start_bench_run(run, presenter, mode);
    state.SetLabel(std::to_string(get_max_x() + 1) + "x" + std::to_string(get_max_y() + 1));
    for (auto _ : state) one_turn(run);
    report_turn_rate(state);
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
  finish_run();
}

void BM_Headless(benchmark::State& state, RunMode mode, int width, int height) {
  HeadlessPresenter presenter(width, height);
  step_loop(state, presenter, mode);
}

void BM_Window(benchmark::State& state, RunMode mode) {
  if (the_window == nullptr) return state.SkipWithError("no display (start Xvfb, set DISPLAY)");
  step_loop(state, *the_window, mode);
}

// The surface size the window gives on this display: one opening and closing.
bool window_size(int& width, int& height) {
  if (the_window == nullptr) return false;
  const ScopedHost hosted([](Host& record) { record.presenter = the_window; });
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  const bool open = graph_result() == kGraphOk;
  if (open) {
    width = get_max_x() + 1;
    height = get_max_y() + 1;
    close_graphics();
  }
  return open;
}

void register_benchmarks() {
  int width = 640, height = 480;
  window_size(width, height);
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  benchmark::RegisterBenchmark("BareModelStep", BM_BareModelStep)->UseRealTime();
  for (const auto& [name, mode] :
       {std::pair{"Quiet", RunMode::Quiet}, std::pair{"Normal", RunMode::Normal}}) {
    benchmark::RegisterBenchmark((std::string("Headless/") + name + "/" + size).c_str(),
                                 BM_Headless, mode, width, height)
        ->UseRealTime();
    benchmark::RegisterBenchmark((std::string("Window/") + name + "/" + size).c_str(),
                                 BM_Window, mode)
        ->UseRealTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  WindowPresenter window;
  const bool has_display = window.init();
  if (has_display) the_window = &window;
  std::atomic<bool> done{false};
  std::thread logic([&] {
    register_benchmarks();
    benchmark::RunSpecifiedBenchmarks();
    done = true;
  });
  if (has_display) window.run(done);
  logic.join();
  benchmark::Shutdown();
  return 0;
}
