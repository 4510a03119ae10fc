// The start-up sequence shared by the editions (see program_start.h).
#include "services/program/program_start.h"

#include <filesystem>
#include <system_error>

#include "services/text/notices.h"
#include "services/program/run_choices.h"

namespace {

// Why the --save folder cannot take the run's files now, or empty: it must be there.
std::string save_folder_problem(const std::string& folder) {
  std::error_code no_folder;
  if (folder.empty() || std::filesystem::is_directory(folder, no_folder)) return {};
  return notice::save_folder_missing(folder);
}

}  // namespace

ProgramStart start_program(const StartInputs& inputs) {
  ProgramStart start;
  const ParsedOptions parsed = parse_host_options(inputs.argc, inputs.argv, inputs.zoom_variable);
  const LanguageSetUp language =
      set_up_language(parsed.options.language, inputs.locale, inputs.data_folder);
  if (!parsed.ok) {
    start.notice = notice::bad_argument(parsed.rejected, language_list(inputs.data_folder));
  } else if (!language.ok) {
    start.notice = language.notice;
  } else if (std::string problem = run_choices_problem(parsed.options.run); !problem.empty()) {
    start.notice = problem;
  } else {
    start.notice = save_folder_problem(parsed.options.run.save_folder);
  }
  start.ok = start.notice.empty();
  if (!start.ok) return start;
  start.options = parsed.options;
  set_run_choices(parsed.options.run);
  return start;
}
