// The pager of the text frame: a text file shown page by page, as the help and the summary are.
//
// A page clears the frame (draw_text_frame), writes up to `lines_per_page` lines of the file from
// row `first_row` of the inner window on, and ends with the page prompt; the next page goes on
// with the next line of the file, until the file ends. Each line is read cut to `line_limit`
// characters and may be changed by the caller before it is written (the summary puts the run's
// figures in place of its markers). The file is read a line at a time, so a file of any size
// pages without being held in memory.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "sim/run_state.h"

// How a file's lines are laid out on a page.
struct PageLayout {
  int first_row;           // the inner window's row of a page's first line
  int lines_per_page;      // file lines a page shows; the last page may show fewer
  std::size_t line_limit;  // characters of a file line that are read (code page 852 bytes)
};

// What becomes of a line between reading and writing; an empty one leaves it as it is.
using LineTransform = std::function<void(std::string& line)>;

// Pages the file `name` (a path from the current directory) to its end. False, with nothing
// shown, when the file cannot be opened.
bool page_text_file(RunState& run, std::string_view name, const PageLayout& layout,
                    const LineTransform& transform = {});

// Tells the user that a file could not be opened: `message` (code page 852) in bright text from
// the cursor on, a line end, the normal attribute again, and one page prompt.
void report_missing_file(RunState& run, std::string_view message);
