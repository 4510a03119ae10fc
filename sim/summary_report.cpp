// The summary report: the version's summary file through the text frame's pager, with the run's
// figures in place of its markers (the replacement itself lives with the charts, summary_text.h).
#include "sim/summary_report.h"

#include <string>

#include "charts/theory.h"
#include "services/console/console.h"
#include "services/text/cp852.h"
#include "services/text/language.h"
#include "services/text/messages.h"
#include "services/graphics/graphics.h"
#include "sim/key_wait.h"
#include "sim/pager.h"
#include "sim/text_frame.h"

namespace {

// Inner-window rows 1..19, each line cut as the marker replacement expects.
constexpr PageLayout kSummaryPage{1, 19, kSummaryLineLimit};
// The closing line stands on the whole screen (the last page prompt left the window so), and
// ends left of column 80, whose writing would move the cursor on.
constexpr int kClosingColumn = 25;
constexpr int kClosingRow = 10;
static_assert(kClosingColumn + text_limit::kClosingLine - 1 < kConsoleColumns);

void write_closing_line() {
  clear_window();
  goto_xy(kClosingColumn, kClosingRow);
  write_text(message_cp852(Message::ClosingLine));
  write_line();
}

}  // namespace

SummaryFigures run_figures(const RunState& run) {
  SummaryFigures figures;
  figures.step_count = run.step_count;
  figures.insect_count = run.insect_count;
  figures.box1_count = run.box1_count;
  if (run.version->has_theory) {
    figures.first_step_distance = run.first_step_distance;
    figures.final_distance = panel_distance(run.empirical_panel, run.theory_panel);
  }
  return figures;
}

void show_summary(RunState& run, const std::string& notice) {
  run.screen_state = ScreenState::Text;
  close_graphics();
  draw_text_frame(run);
  if (!notice.empty()) {
    set_bright_text();
    write_text(cp852(notice));
    reset_text_attributes();
  }
  key_wait(run);
  const SummaryFigureTexts figures = summary_figure_texts(run_figures(run));
  const LineTransform put_figures = [&run, &figures](std::string& line) {
    replace_markers(line, run.version->summary_markers, figures);
  };
  if (!page_text_file(run, language_file(run.version->summary_file), kSummaryPage, put_figures)) {
    report_missing_file(run, message_cp852(run.version->summary_missing_message));
  }
  write_closing_line();
}
