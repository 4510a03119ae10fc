// A fixture that runs the programs in-process: headless console with scripted keys, a headless
// surface of a chosen size, a run of its own and a fresh generator, and a scratch working folder
// that holds whichever data files the test writes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "services/console/console.h"
#include "services/text/cp852.h"
#include "services/graphics/graphics.h"
#include "services/console/headless_console.h"
#include "services/numbers/random.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"
#include "services/program/program_host.h"
#include "sim/program_flow.h"
#include "sim/run_state.h"
#include "sim/version.h"

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_random();
    previous_dir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("zorvan-test-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }

  void TearDown() override {
    std::filesystem::current_path(previous_dir_);
    std::filesystem::remove_all(dir_);
  }

  // Writes a data file into the working folder; `utf8` is converted to code page 852.
  void write_data_file(const std::string& name, const std::string& utf8) {
    std::ofstream(dir_ / name, std::ios::binary) << cp852(utf8);
  }

  // Runs a whole program with the keys scripted and input ending after them.
  LogicOutcome run_program(const std::string& keys,
                           const VersionDescription& version = kSecondVersion) {
    script_keys(keys, ScriptEnd::EndOfInput);
    return run_logic_guarded([&] { run_main_sequence(run, version); });
  }

  // The screen row (1-based) as UTF-8 without trailing blanks.
  static std::string row(int number) { return console_row_text(number); }

  // Number of page prompts shown so far: each waits 100 ms before it looks at the keyboard.
  uint64_t page_prompts() const { return console_.slept_ms() / 100; }

  void use_surface_size(int width, int height) { presenter_ = HeadlessPresenter(width, height); }

  RunState run;  // the test's run, as the program left it
  HeadlessConsole console_;
  HeadlessPresenter presenter_{640, 480};
  const ScopedHost hosted_{[this](Host& record) { record.presenter = &presenter_; }};
  std::filesystem::path dir_, previous_dir_;
  static inline int counter_ = 0;
};

#include <mutex>
#include <vector>

#include "services/console/keyboard.h"
#include "services/graphics/surface.h"
#include "sim/run_modes.h"
#include "sim/run_screen.h"
#include "sim/status_box.h"
#include "sim/step.h"

// Runs a program up to its first key wait: prompts answered, run screen drawn, step 0 recorded.
class RunTest : public ProgramTest {
 protected:
  void start_run(int n, int k, const VersionDescription& version = kSecondVersion) {
    reset_run_state(run, version);
    script_keys(std::to_string(n) + "\r" + std::to_string(k) + "\r");
    ::start_run(run);
  }

  // Exactly `count` turns of the step loop (fewer when the run ends).
  int turns(int count) {
    int made = 0;
    while (made < count && run_turn(run)) ++made;
    return made;
  }

 public:
  // The whole surface, copied under the drawing lock.
  static std::vector<uint8_t> snapshot() {
    std::lock_guard<std::mutex> lock(drawing_lock());
    const Surface& surface = current_surface();
    return {surface.pixels(), surface.pixels() + surface.width() * surface.height()};
  }

  // True when every pixel that differs between the two snapshots lies in the rectangle.
  static bool changes_inside(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after,
                             int x1, int y1, int x2, int y2) {
    const int width = get_max_x() + 1;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] == after[i]) continue;
      const int x = static_cast<int>(i) % width;
      const int y = static_cast<int>(i) / width;
      if (x < x1 || x > x2 || y < y1 || y > y2) return false;
    }
    return true;
  }
};
