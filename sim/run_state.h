// The run's state: one record, owned by the program flow (program_flow.h) and handed by
// reference to the operations that read or change it, first argument; a test builds its own.
//
// Written only by the logic thread: the program flow sets it up, the step and the run modes
// change it, the views draw from it and the charts are lent its panels. The window thread never
// reads it (it sees the surface alone, under the drawing lock); the editions' figures reader
// does, on the logic thread or while it waits (live_figures.h).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "services/program/run_choices.h"
#include "sim/urn_model.h"
#include "sim/version.h"

// The run modes and their keys: see run_modes.h.
enum class RunMode : int32_t { Normal = 0, Stepwise = 1, Quiet = 2, Finish = 3 };

// Which screen is up: the graphics surface (0) or the text console's frame (1). The key routine
// and the text frame look at it.
enum class ScreenState : int32_t { Graphics = 0, Text = 1 };

// The run: the model (N, K, T, the insects and their cells, urn_model.h) and what the program
// keeps beside it for the views and the flow.
struct RunState : UrnModel {
  const VersionDescription* version = &kSecondVersion;  // the program this run belongs to
  int16_t start_box1_count = 0;  // K as entered: with N and the seed it names the run
  uint32_t seed = 0;             // the generator's seed (run_choices' at program start)
  RunMode run_mode = RunMode::Stepwise;
  ScreenState screen_state = ScreenState::Text;  // the text frame until the run screen opens
  uint16_t cell_size = 0;                        // side of one cell in pixels
  std::vector<uint8_t> insect_image;             // the insect picture, sized by image_size
  ChartPanel empirical_panel, theory_panel;
  StripChart strip;                      // the count-change chart
  double first_step_distance = 0.0;      // distance taken at step 1
  int32_t pace = 0;                      // steps a second drawn in Normal, 0 for no limit (pace.h)
  bool pace_started = false;             // pace_due counts from a paced step of this Normal run
  std::chrono::nanoseconds pace_due{0};  // when the next paced step is due, on the host's clock
};

// The run's panel that a version's description names.
ChartPanel& panel_of(RunState& run, PanelId id);

// Back to the start state for `version`. Keeps the insect picture's buffer capacity.
void reset_run_state(RunState& run, const VersionDescription& version = kSecondVersion);

// Whether this turn draws its per-step updates: not while quiet. Asked several times a turn, so
// it is inline.
inline TurnDrawing turn_drawing(const RunState& run) {
  return run.run_mode == RunMode::Quiet ? TurnDrawing::CountOnly : TurnDrawing::Draw;
}
