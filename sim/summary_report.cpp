// The summary report. The file is read a line at a time, so a file of any size pages without
// being held in memory; the marker replacement itself lives with the charts (summary_text.h).
#include "sim/summary_report.h"

#include <string>

#include "charts/theory.h"
#include "services/console/console.h"
#include "services/console/text_file.h"
#include "services/cp852.h"
#include "services/graphics/graphics.h"
#include "sim/key_wait.h"
#include "sim/run_state.h"
#include "sim/text_frame.h"

namespace {

constexpr int kPageEndCounter = 20;  // the counter runs 1..19: 19 file lines a page
constexpr int kClosingColumn = 25;
constexpr int kClosingRow = 10;

void report_missing_summary() {
  set_bright_text();
  write_text(cp852(run.version->summary_missing_message));
  write_line();
  reset_text_attributes();
  key_wait();
}

void show_page(TextFile& file, const SummaryFigureTexts& figures) {
  draw_text_frame();
  int counter = 1;
  do {
    std::string line = read_text(file, kSummaryLineLimit);
    discard_line(file);
    replace_markers(line, run.version->summary_markers, figures);
    write_text(line);
    write_line();
    ++counter;
  } while (!text_eof(file) && counter != kPageEndCounter);
  key_wait();
}

void write_closing_line() {
  static const std::string closing = cp852("Itt a vége fuss el véle!!!!");
  clear_window();
  goto_xy(kClosingColumn, kClosingRow);
  write_text(closing);
  write_line();
}

}  // namespace

SummaryFigures run_figures() {
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

void show_summary() {
  run.screen_state = ScreenState::Text;
  close_graphics();
  draw_text_frame();
  key_wait();
  TextFile file;
  text_assign(file, run.version->summary_file);
  text_reset(file);
  if (io_result() != 0) {
    report_missing_summary();
  } else {
    const SummaryFigureTexts figures = summary_figure_texts(run_figures());
    while (!text_eof(file)) show_page(file, figures);
    text_close(file);
  }
  write_closing_line();
}
