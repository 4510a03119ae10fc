// Run-time errors and their messages.
#include "services/run_time_error.h"

RunTimeError::RunTimeError(int code) : std::runtime_error(run_time_error_message(code)), code_(code) {}

void raise_run_time_error(int code) { throw RunTimeError(code); }

namespace {

struct ErrorExplanation {
  int code;
  const char* text;
};

constexpr ErrorExplanation kExplanations[] = {
    {kErrorFileNotFound, "file not found"},
    {kErrorTooManyFiles, "too many open files"},
    {kErrorAccessDenied, "file access denied"},
    {kErrorReadPastEnd, "read past end of input"},
    {kErrorDiskWrite, "disk write error"},
    {kErrorFileNotOpen, "file not open"},
    {kErrorFileNotOpenForInput, "file not open for input"},
    {kErrorInvalidNumber, "invalid numeric format"},
    {kErrorDeviceReadFault, "device read fault"},
    {kErrorDivisionByZero, "division by zero"},
    {kErrorOverflow, "floating point overflow"},
    {kErrorInvalidOperation, "invalid floating point operation"},
};

}  // namespace

std::string run_time_error_explanation(int code) {
  for (const ErrorExplanation& entry : kExplanations) {
    if (entry.code == code) return entry.text;
  }
  return "input/output error";
}

std::string run_time_error_message(int code) {
  return "Runtime error " + std::to_string(code) + ": " + run_time_error_explanation(code);
}
