// The run's files as an edition offers them after the run: its last picture as PNG bytes and its
// figures as CSV text, under the name both share (sim/saved_run.h makes all three). The page
// offers them for download beside the kept picture, when the program may already have ended.
//
// The services know nothing of the run. An edition that offers the files asks for them before
// the program starts; the program flow then keeps them here when the run ends, while the last
// picture is still on the surface, and an edition that did not ask pays nothing for them. One
// program runs at a time, so one set of files is kept; the next run's replaces it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RunFiles {
  std::string stem;          // the name both files share, without extension
  std::vector<uint8_t> png;  // the surface as the run left it
  std::string csv;           // the run's figures
};

// An edition that offers the files asks for them to be kept (true) from here on; tests take
// the request back (false).
void want_run_files(bool wanted);

// True when an edition has asked for the files.
bool run_files_wanted();

// The run's end: replaces the kept files with `files`.
void keep_run_files(RunFiles files);

// The files kept at the last run's end, or nullptr before a run has ended.
const RunFiles* kept_run_files();
