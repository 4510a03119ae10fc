// What is kept of a run: its last picture as a PNG file and its figures as CSV text, written
// into a folder the person names (--save) when the run ends, before the summary closes the
// surface. The page offers the same two files for download ("Save picture", "Save figures").
//
// The CSV text (RFC 4180: fields separated by commas, CR LF line ends, a field quoted when it
// holds a comma or a quote; UTF-8 with a byte-order mark, so that spreadsheets read the accented
// headings) has three parts, separated by an empty row:
//   1. one row per figure, heading then value: the program, the seed, N, K at the start, K at
//      the end, T and (zorvan2) the distance at step 1 and at the end;
//   2. the distributions, one row per count of box 1 (0..N): the count, the empirical bar's
//      value and (zorvan2) the theoretical bar's, then a row with each chart's scale (pixels of
//      bar height per unit of value);
//   3. the strip chart, oldest first: the step and the count of box 1 after it.
// The headings come from the message table (the language in use); numbers are written with '.'
// as the decimal point whatever the locale, distances and scales with 6 decimals.
#pragma once

#include <stdexcept>
#include <string>

#include "sim/run_state.h"

// The CSV text of the run as it stands (see above).
std::string figures_csv(const RunState& run);

// The name both files share, without extension: "<program>_N<n>_K<k>_seed<s>_T<t>", K as
// entered at the start, T as it stands.
std::string saved_file_stem(const RunState& run);

// Writes "<stem>.png" (the surface as it stands) and "<stem>.csv" into `folder`; nothing when
// `folder` is empty. Each file is written under a temporary name in the folder and renamed when
// complete, so a failure leaves nothing half-written under the final names. Returns the notice
// for the person when a file cannot be written, empty otherwise. Needs an open surface.
std::string save_run(const RunState& run, const std::string& folder);

// Keeps the picture, the figures and their name for an edition that offers them
// (services/program/run_files.h), when one has asked for them; nothing otherwise. Needs an open
// surface.
void keep_files_for_edition(const RunState& run);
