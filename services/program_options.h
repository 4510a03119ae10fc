// What a program accepts on its command line: the zoom, `--zoom N` (or `--zoom=N`), which may
// also come from the environment variable ZORVAN_ZOOM (the command line wins), and the language,
// `--lang L` (or `--lang=L`; which languages there are, and the choice without it, is
// language.h's). Without them the programs behave as they always have.
#pragma once

#include <string>

constexpr int kMaxZoom = 8;

struct HostOptions {
  int zoom = 1;          // each surface pixel is shown as a zoom x zoom block
  std::string language;  // --lang's value, empty when not given
};

struct ParsedOptions {
  bool ok = true;
  HostOptions options;
  std::string rejected;  // the argument (or variable) that was not understood
};

// `zoom_variable` is the value of ZORVAN_ZOOM, or nullptr when it is not set.
ParsedOptions parse_host_options(int argc, const char* const* argv, const char* zoom_variable);
