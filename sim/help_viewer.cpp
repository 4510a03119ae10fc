// The help viewer: the help file through the text frame's pager.
#include "sim/help_viewer.h"

#include "services/text/language.h"
#include "services/text/messages.h"
#include "sim/pager.h"

namespace {

constexpr const char* kHelpFileName = "Zorvan.hlp";
constexpr PageLayout kHelpPage{2, 18, 80};  // inner-window rows 2..19, lines cut to 80 characters

}  // namespace

void show_help(RunState& run) {
  if (!page_text_file(run, language_file(kHelpFileName), kHelpPage)) {
    report_missing_file(run, message_cp852(run.version->help_missing_message));
  }
}
