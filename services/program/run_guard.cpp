// Turning the ways the program logic can end into an exit code and a message.
#include <exception>

#include "services/text/notices.h"
#include "services/program/program_host.h"
#include "services/program/run_time_error.h"

LogicOutcome run_logic_guarded(const std::function<void()>& logic) {
  try {
    logic();
    return {};
  } catch (const RunTimeError& error) {
    return {error.code(), error.what()};
  } catch (const SaveFailed& failure) {
    return {kSaveFailedExitCode, failure.what()};
  } catch (const GraphicsNotOpen&) {
    return {kGraphicsExitCode, notice::window_failed()};
  } catch (const std::exception& error) {
    return {kGraphicsExitCode, notice::internal_error(error.what())};
  }
}
