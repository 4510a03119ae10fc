// The help viewer: the help file read a line at a time, so a file of any size pages without
// being held in memory.
#include "sim/help_viewer.h"

#include "services/console/console.h"
#include "services/cp852.h"
#include "services/console/text_file.h"
#include "sim/key_wait.h"
#include "sim/text_frame.h"
#include "sim/run_state.h"

namespace {

constexpr const char* kHelpFileName = "Zorvan.hlp";
constexpr std::size_t kLineLimit = 80;
constexpr int kFirstLineRow = 2;  // a page's lines start on row 2 of the inner window
constexpr int kPageEndCounter = 20;  // rows 2..19: 18 lines a page

void report_missing_help() {
  set_bright_text();
  write_text(cp852(run.version->help_missing_message));
  write_line();
  reset_text_attributes();
  key_wait();
}

void show_page(TextFile& file) {
  draw_text_frame();
  goto_xy(1, kFirstLineRow);
  int counter = kFirstLineRow;
  do {
    const std::string line = read_text(file, kLineLimit);
    discard_line(file);
    write_text(line);
    write_line();
    ++counter;
  } while (!text_eof(file) && counter != kPageEndCounter);
  key_wait();
}

}  // namespace

void show_help() {
  TextFile file;
  text_assign(file, kHelpFileName);
  text_reset(file);
  if (io_result() != 0) {
    report_missing_help();
    return;
  }
  while (!text_eof(file)) show_page(file);
  text_close(file);
}
