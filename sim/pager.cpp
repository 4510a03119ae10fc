// The pager of the text frame and its missing-file report.
#include "sim/pager.h"

#include "services/console/console.h"
#include "services/console/text_file.h"
#include "sim/key_wait.h"
#include "sim/text_frame.h"

namespace {

// One page: the frame, the page's lines and the page prompt. Called only while lines remain, so
// every page shows at least one.
void show_page(RunState& run, TextFile& file, const PageLayout& layout,
               const LineTransform& transform) {
  draw_text_frame(run);
  // The frame leaves the cursor on the inner window's first row already.
  if (layout.first_row != 1) goto_xy(1, layout.first_row);
  int lines = 0;
  do {
    std::string line = read_text(file, layout.line_limit);
    discard_line(file);
    if (transform) transform(line);
    write_text(line);
    write_line();
    ++lines;
  } while (!text_eof(file) && lines != layout.lines_per_page);
  key_wait(run);
}

}  // namespace

bool page_text_file(RunState& run, std::string_view name, const PageLayout& layout,
                    const LineTransform& transform) {
  TextFile file;
  text_assign(file, name);
  text_reset(file);
  if (io_result() != 0) return false;
  while (!text_eof(file)) show_page(run, file, layout, transform);
  text_close(file);
  return true;
}

void report_missing_file(RunState& run, std::string_view message) {
  set_bright_text();
  write_text(message);
  write_line();
  reset_text_attributes();
  key_wait(run);
}
