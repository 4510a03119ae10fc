// The main sequence and the set-up of a run.
#include "sim/program_flow.h"

#include <string>

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "services/console/console.h"
#include "services/text/messages.h"
#include "services/graphics/graphics.h"
#include "services/program/host.h"
#include "services/numbers/random.h"
#include "services/numbers/number_text.h"
#include "services/numbers/extended_real.h"
#include "services/program/program_host.h"
#include "services/program/run_choices.h"
#include "sim/box_view.h"
#include "sim/help_viewer.h"
#include "sim/live_figures.h"
#include "sim/pace.h"
#include "sim/run_modes.h"
#include "sim/run_screen.h"
#include "sim/run_state.h"
#include "sim/saved_run.h"
#include "sim/step.h"
#include "sim/summary_report.h"
#include "sim/text_frame.h"
#include "sim/urn_model.h"

namespace {

constexpr double kInitialScale = 5.0;
constexpr uint8_t kPanelColour = 15;

// Writes the prompt with its upper bound right-aligned in 3 characters and reads answers until
// one lies in [low, high]; answers out of range bring the prompt back on the next line.
int ask_number(const std::string& prompt, int low, int high) {
  for (;;) {
    write_text(prompt + int_to_text(high, 3) + "]");
    const int32_t value = read_integer();
    discard_line();
    if (value >= low && value <= high) return value;
  }
}

void set_up_panels(RunState& run) {
  const int n = run.insect_count;
  for (const PanelDesign& design : run.version->panels) {
    const bool strip = design.id == PanelId::Strip;
    const double scale =
        strip ? static_cast<double>(extended_real(scale_y(190)) / n) : kInitialScale;
    panel_init(panel_of(run, design.id), scale_x(design.x1), scale_y(design.y1), scale_x(design.x2),
               scale_y(design.y2), message_cp852(design.title), strip ? 0 : n + 1, scale,
               kPanelColour);
  }
  strip_prepare(run.strip, n);
}

// The move shown, the step counted and recorded.
void make_step(RunState& run) {
  const InsectMove move = move_insect(run);
  draw_move(run, move);
  ++run.step_count;
  record_step(run);
}

}  // namespace

int16_t scale_x(int16_t v) {
  return static_cast<int16_t>(truncate_real(extended_real(v * get_max_x()) / 640));
}

int16_t scale_y(int16_t v) {
  return static_cast<int16_t>(truncate_real(extended_real(v * get_max_y()) / 480));
}

// An answer given in advance (run_choices: already within the prompt's limits) stands for its
// prompt, which is then not shown.
void ask_parameters(RunState& run) {
  draw_text_frame(run);
  const RunChoices& choices = run_choices();
  run.insect_count = static_cast<int16_t>(
      choices.insect_count ? *choices.insect_count
                           : ask_number(message_cp852(Message::PromptInsects), kMinInsects,
                                        kMaxInsects));
  run.box1_count = static_cast<int16_t>(
      choices.box1_count ? *choices.box1_count
                         : ask_number(message_cp852(Message::PromptBox1), 0, run.insect_count));
  run.start_box1_count = run.box1_count;
}

void setup_run(RunState& run) {
  ask_parameters(run);
  open_run_surface();
  clear_viewport();
  set_up_panels(run);
  set_up_grid(run);
  prepare_box_view(run);
  place_insects(run);
  close_graphics();
}

void start_run(RunState& run) {
  setup_run(run);
  run.step_count = 0;
  draw_run_screen(run);
  record_step(run);
}

// A drawing turn holds the drawing lock once, so that a repaint shows the turn whole. A quiet
// turn draws nothing but a halving, which record_step holds the lock for.
bool run_turn(RunState& run) {
  do {
    if (poll_run_keys(run)) return false;
  } while (pace_holds_back(run));
  if (turn_drawing(run) == TurnDrawing::Draw) {
    const DrawingBatch turn;
    make_step(run);
  } else {
    make_step(run);
  }
  return true;
}

// The run's files are saved (and kept for an edition that offers them) while its last picture
// is still on the surface; a failure to save is told on the summary's first frame, and ends the
// program with SaveFailed once the summary has been read (the run and its summary go on).
void run_main_sequence(RunState& run, const VersionDescription& version) {
  reset_run_state(run, version);
  run.seed = run_choices().seed;
  reset_random(run.seed);
  const ScopedLiveFigures figures_source(run);
  run.run_mode = RunMode::Stepwise;
  if (!run_choices().skip_help) show_help(run);
  start_run(run);
  while (run_turn(run)) end_of_turn();
  const std::string save_failure = save_run(run, run_choices().save_folder);
  keep_files_for_edition(run);
  show_summary(run, save_failure);
  if (!save_failure.empty()) throw SaveFailed(save_failure);
}

// The run lives on the logic thread's stack for the whole program: the editions' figures reader
// reads it there (while the program waits) and keeps its last figures when it ends.
void run_main_sequence(const VersionDescription& version) {
  RunState run;
  run_main_sequence(run, version);
}
