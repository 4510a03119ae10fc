// What is kept of a run: the PNG file is the surface pixel for pixel, the CSV's figures are the
// run state's and the summary's, the files are named after the run, and a folder that cannot be
// written is told while the run and its summary go on, with nothing half-written left behind.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "charts/theory.h"
#include "file_bytes.h"
#include "png_decoder.h"
#include "program_fixture.h"
#include "services/numbers/number_text.h"
#include "services/program/run_choices.h"
#include "services/program/run_files.h"
#include "sim/saved_run.h"
#include "sim/summary_report.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The CSV's rows and fields (no field of ours is quoted), after the byte-order mark.
Rows csv_rows(const std::string& text) {
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF"));
  Rows rows;
  std::size_t from = 3;
  for (std::size_t end = text.find("\r\n", from); end != std::string::npos;
       end = text.find("\r\n", from)) {
    std::vector<std::string> fields;
    std::stringstream line(text.substr(from, end - from));
    for (std::string field; std::getline(line, field, ',');) fields.push_back(field);
    rows.push_back(fields);
    from = end + 2;
  }
  EXPECT_EQ(from, text.size()) << "the last row ends with CR LF";
  return rows;
}

std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class SavedRunTest : public RunTest {
 protected:
  std::filesystem::path folder() {
    const std::filesystem::path path = dir_ / "saved";
    std::filesystem::create_directories(path);
    return path;
  }
};

}  // namespace

TEST_F(SavedRunTest, ThePictureIsTheSurfaceAndTheFiguresAreTheRunsAndTheSummarys) {
  use_surface_size(700, 500);
  start_run(12, 4);
  run.run_mode = RunMode::Normal;
  ASSERT_EQ(turns(160), 160);  // the strip is full and has scrolled
  ASSERT_EQ(save_run(run, folder().string()), "");
  const std::string stem = "zorvan2_N12_K4_seed0_T160";
  EXPECT_EQ(names_in(folder()), (std::vector<std::string>{stem + ".csv", stem + ".png"}));

  const std::string png_text = file_bytes(folder() / (stem + ".png"));
  const png_test::DecodedPng png =
      png_test::decode(std::vector<uint8_t>(png_text.begin(), png_text.end()));
  EXPECT_EQ(png.width, 700);
  EXPECT_EQ(png.height, 500);
  EXPECT_EQ(png.indices, snapshot());

  const Rows rows = csv_rows(file_bytes(folder() / (stem + ".csv")));
  const SummaryFigureTexts summary = summary_figure_texts(run_figures(run));
  const auto figure = [&rows](int row) { return rows.at(row).at(1); };
  EXPECT_EQ(figure(0), "zorvan2");
  EXPECT_EQ(figure(1), "0");
  EXPECT_EQ(figure(2), summary[static_cast<int>(SummaryFigure::InsectCount)]);
  EXPECT_EQ(figure(3), "4");
  EXPECT_EQ(figure(4), summary[static_cast<int>(SummaryFigure::Box1Count)]);
  EXPECT_EQ(figure(5), "160");
  EXPECT_EQ(real_to_text(std::stod(figure(6)), 5, 2),
            summary[static_cast<int>(SummaryFigure::FirstStepDistance)]);
  EXPECT_EQ(real_to_text(std::stod(figure(7)), 5, 2),
            summary[static_cast<int>(SummaryFigure::FinalDistance)]);
  EXPECT_NEAR(std::stod(figure(7)), panel_distance(run.empirical_panel, run.theory_panel), 1e-6);
  ASSERT_TRUE(rows.at(8).empty());
  int64_t counted = 0;
  for (int k = 0; k <= 12; ++k) {
    const std::vector<std::string>& bar = rows.at(10 + k);
    EXPECT_EQ(bar.at(0), std::to_string(k));
    EXPECT_EQ(bar.at(1), std::to_string(run.empirical_panel.values[k]));
    EXPECT_EQ(bar.at(2), std::to_string(run.theory_panel.values[k]));
    counted += std::stoll(bar.at(1));
  }
  EXPECT_EQ(counted, 161);  // every step and the start
  EXPECT_DOUBLE_EQ(std::stod(rows.at(23).at(1)), run.empirical_panel.scale);
  ASSERT_TRUE(rows.at(24).empty());
  ASSERT_EQ(rows.size(), 26u + 141u);
  EXPECT_EQ(rows.at(26).at(0), "20");  // the 141 most recent steps, oldest first
  EXPECT_EQ(rows.back().at(0), "160");
  EXPECT_EQ(rows.back().at(1), std::to_string(run.box1_count));
}

// The end of input acts as V; the first version has neither the theory nor the distances.
TEST_F(SavedRunTest, TheProgramSavesWhenTheRunEndsInEitherVersion) {
  const ScopedRunChoices choices({3, 6, 2, true, folder().string()});
  EXPECT_EQ(run_program("LLLLLV").exit_code, 0);
  EXPECT_EQ(run_program("LL", kFirstVersion).exit_code, 0);
  EXPECT_EQ(names_in(folder()),
            (std::vector<std::string>{"zorvan2_N6_K2_seed3_T5.csv", "zorvan2_N6_K2_seed3_T5.png",
                                      "zorvan_N6_K2_seed3_T2.csv", "zorvan_N6_K2_seed3_T2.png"}));
  const Rows first = csv_rows(file_bytes(folder() / "zorvan_N6_K2_seed3_T2.csv"));
  EXPECT_EQ(first.at(6).size(), 0u);  // T is the last figure
  EXPECT_EQ(first.at(7).size(), 2u);  // count and empirical value
}

// An edition that offers the files for download (the page) has them kept at the run's end, the
// very bytes the folder gets; without its asking nothing is kept.
TEST_F(SavedRunTest, AnEditionThatAsksForTheFilesKeepsTheSavedOnes) {
  const ScopedRunChoices choices({3, 6, 2, true, folder().string()});
  EXPECT_EQ(run_program("LLV").exit_code, 0);
  EXPECT_EQ(kept_run_files(), nullptr);
  want_run_files(true);
  EXPECT_EQ(run_program("LLLV").exit_code, 0);
  want_run_files(false);
  const RunFiles* kept = kept_run_files();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->stem, "zorvan2_N6_K2_seed3_T3");
  EXPECT_EQ(std::string(kept->png.begin(), kept->png.end()),
            file_bytes(folder() / (kept->stem + ".png")));
  EXPECT_EQ(kept->csv, file_bytes(folder() / (kept->stem + ".csv")));
}

TEST_F(SavedRunTest, AFolderThatCannotBeWrittenIsToldAndTheSummaryGoesOn) {
  const std::filesystem::path gone = dir_ / "gone";
  std::optional<ScopedRunChoices> choices(std::in_place, RunChoices{0, 6, 2, true, gone.string()});
  const LogicOutcome outcome = run_program("LLV");
  EXPECT_EQ(outcome.exit_code, kSaveFailedExitCode);
  EXPECT_NE(outcome.message.find(gone.string()), std::string::npos) << outcome.message;
  EXPECT_NE(outcome.message.find("[Cannot save"), std::string::npos) << outcome.message;
  EXPECT_EQ(row(10), "                        Itt a vége fuss el véle!!!!");
  EXPECT_FALSE(std::filesystem::exists(gone));

  // A folder where the CSV cannot be made (a folder stands in its temporary file's way): the
  // picture is whole under its name, and nothing of the CSV is.
  choices.reset();
  choices.emplace(RunChoices{0, 6, 2, true, folder().string()});
  std::filesystem::create_directories(folder() / "zorvan2_N6_K2_seed0_T2.csv.part" / "x");
  EXPECT_EQ(run_program("LLV").exit_code, kSaveFailedExitCode);
  EXPECT_EQ(names_in(folder()), (std::vector<std::string>{"zorvan2_N6_K2_seed0_T2.csv.part",
                                                          "zorvan2_N6_K2_seed0_T2.png"}));
}
