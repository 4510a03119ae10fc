// Run-time errors and their messages.
#include "services/run_time_error.h"

RunTimeError::RunTimeError(int code) : std::runtime_error(run_time_error_message(code)), code_(code) {}

void raise_run_time_error(int code) { throw RunTimeError(code); }

std::string run_time_error_explanation(int code) {
  switch (code) {
    case kErrorFileNotFound: return "file not found";
    case kErrorReadPastEnd: return "read past end of input";
    case kErrorFileNotOpen: return "file not open";
    case kErrorInvalidNumber: return "invalid numeric format";
    case kErrorDivisionByZero: return "division by zero";
    case kErrorOverflow: return "floating point overflow";
    case kErrorInvalidOperation: return "invalid floating point operation";
    case 4: return "too many open files";
    case 5: return "file access denied";
    case 161: return "device read fault";
    case 101: return "disk write error";
    case 104: return "file not open for input";
    default: return "input/output error";
  }
}

std::string run_time_error_message(int code) {
  return "Runtime error " + std::to_string(code) + ": " + run_time_error_explanation(code);
}
