// The run's picture and figures as files (see saved_run.h).
#include "sim/saved_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "charts/chart_panel.h"
#include "charts/strip_chart.h"
#include "services/graphics/graphics.h"
#include "services/text/messages.h"
#include "services/text/notices.h"
#include "services/program/run_files.h"
#include "services/numbers/number_text.h"
#include "sim/run_state.h"
#include "sim/summary_report.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";

// A field as RFC 4180 writes it: quoted, its quotes doubled, when it holds a comma or a quote.
std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void add_row(std::string& csv, std::initializer_list<std::string> fields) {
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) csv += ',';
    csv += csv_field(field);
    first = false;
  }
  csv += kRowEnd;
}

std::string heading(Message message) { return message_text(message); }

std::string decimal(double value) { return real_to_text(value, 0, 6); }

void add_figures(const RunState& run, std::string& csv) {
  const SummaryFigures figures = run_figures(run);
  add_row(csv, {heading(Message::FiguresProgram), std::string(run.version->program_name)});
  add_row(csv, {heading(Message::FiguresSeed), std::to_string(run.seed)});
  add_row(csv, {heading(Message::FiguresInsects), std::to_string(figures.insect_count)});
  add_row(csv, {heading(Message::FiguresBox1Start), std::to_string(run.start_box1_count)});
  add_row(csv, {heading(Message::FiguresBox1End), std::to_string(figures.box1_count)});
  add_row(csv, {heading(Message::FiguresSteps), std::to_string(figures.step_count)});
  if (!run.version->has_theory) return;
  add_row(csv, {heading(Message::FiguresFirstDistance), decimal(figures.first_step_distance)});
  add_row(csv, {heading(Message::FiguresFinalDistance), decimal(figures.final_distance)});
}

void add_distributions(const RunState& run, std::string& csv) {
  const bool theory = run.version->has_theory;
  const ChartPanel& empirical = run.empirical_panel;
  if (theory) {
    add_row(csv, {heading(Message::FiguresCount), heading(Message::FiguresEmpirical),
                  heading(Message::FiguresTheory)});
  } else {
    add_row(csv, {heading(Message::FiguresCount), heading(Message::FiguresEmpirical)});
  }
  for (int i = 0; i < empirical.bar_count; ++i) {
    const std::string count = std::to_string(i), value = std::to_string(empirical.values[i]);
    if (theory) {
      add_row(csv, {count, value, std::to_string(run.theory_panel.values[i])});
    } else {
      add_row(csv, {count, value});
    }
  }
  if (theory) {
    add_row(csv, {heading(Message::FiguresScale), decimal(empirical.scale),
                  decimal(run.theory_panel.scale)});
  } else {
    add_row(csv, {heading(Message::FiguresScale), decimal(empirical.scale)});
  }
}

// The strip holds the counts after the most recent steps, the last one after step T.
void add_strip(const RunState& run, std::string& csv) {
  add_row(csv, {heading(Message::FiguresStripStep), heading(Message::FiguresStripCount)});
  const int stored = run.strip.panel.bar_count;
  for (int k = 0; k < stored; ++k) {
    add_row(csv, {std::to_string(run.step_count - stored + 1 + k),
                  std::to_string(strip_value(run.strip, k))});
  }
}

// Writes `bytes` to `path` through a temporary file beside it; the reason when it fails.
std::string write_whole_file(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return std::strerror(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_error = errno;
  const bool closed = std::fclose(file) == 0;
  const int close_error = errno;
  std::error_code renamed;
  if (written && closed) std::filesystem::rename(temporary, path, renamed);
  if (written && closed && !renamed) return {};
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  if (!written) return std::strerror(write_error);
  if (!closed) return std::strerror(close_error);
  return renamed.message();
}

}  // namespace

std::string figures_csv(const RunState& run) {
  std::string csv(kByteOrderMark);
  add_figures(run, csv);
  csv += kRowEnd;
  add_distributions(run, csv);
  csv += kRowEnd;
  add_strip(run, csv);
  return csv;
}

std::string saved_file_stem(const RunState& run) {
  return std::string(run.version->program_name) + "_N" + std::to_string(run.insect_count) + "_K" +
         std::to_string(run.start_box1_count) + "_seed" + std::to_string(run.seed) + "_T" +
         std::to_string(run.step_count);
}

std::string save_run(const RunState& run, const std::string& folder) {
  if (folder.empty()) return {};
  const std::filesystem::path stem = std::filesystem::path(folder) / saved_file_stem(run);
  const std::vector<uint8_t> png = surface_png();
  const std::string_view png_bytes(reinterpret_cast<const char*>(png.data()), png.size());
  std::string reason = write_whole_file(std::filesystem::path(stem) += ".png", png_bytes);
  if (reason.empty()) {
    reason = write_whole_file(std::filesystem::path(stem) += ".csv", figures_csv(run));
  }
  if (reason.empty()) return {};
  return notice::save_failed(folder, reason);
}

void keep_files_for_edition(const RunState& run) {
  if (!run_files_wanted()) return;
  keep_run_files({saved_file_stem(run), surface_png(), figures_csv(run)});
}
