// What a program accepts on its command line. The host's own: the zoom, `--zoom Z` (Z a whole or
// decimal number from 1 to 8, "1.5", or "max"), which may also come from the environment
// variable ZORVAN_ZOOM (the command line wins), and the language, `--lang L` (which languages
// there are, and the choice without it, is language.h's), and `--window`, the program's own window
// for the text screens as well as for the run, as when it is started without a terminal. The run's
// (run_choices.h): `--seed S` (0 .. 4294967295), `--n N` and `--k K` (the prompts' answers; their
// limits are checked by run_choices_problem), `--no-help`, `--save DIR`. Every option with a value
// may also be written `--option=value`. Without them the programs behave as they always have.
#pragma once

#include <cstdint>
#include <string>

#include "services/program/run_choices.h"

constexpr int kMaxZoom = 8;
constexpr uint32_t kLargestSeed = UINT32_MAX;  // --seed's largest value

struct HostOptions {
  double zoom = 1;            // a surface pixel is shown zoom times as large (1 .. kMaxZoom)
  bool largest_zoom = false;  // --zoom max: the largest zoom that keeps the surface 640 x 480
  std::string language;       // --lang's value, empty when not given
  bool window = false;        // --window: the text screens in the program's window too
  RunChoices run;             // the run's choices
};

struct ParsedOptions {
  bool ok = true;
  HostOptions options;   // what was read; when not ok, the options besides the refused ones
  std::string rejected;  // the first argument (or variable) that was not understood
};

// `zoom_variable` is the value of ZORVAN_ZOOM, or nullptr when it is not set.
ParsedOptions parse_host_options(int argc, const char* const* argv, const char* zoom_variable);

