// Run-time errors: a failed checked operation ends the program with its number as exit code.
//
// The failing operation throws RunTimeError; the program entry catches it once, restores the
// terminal, writes "Runtime error N" with a short explanation to stderr and exits with N.
#pragma once

#include <stdexcept>
#include <string>

// Error numbers the programs can raise; their explanations are in the table of
// run_time_error.cpp, the one home of both.
enum RunTimeErrorCode : int {
  kErrorFileNotFound = 2,
  kErrorTooManyFiles = 4,
  kErrorAccessDenied = 5,
  kErrorReadPastEnd = 100,  // standard input ended while a number was expected
  kErrorDiskWrite = 101,
  kErrorFileNotOpen = 103,
  kErrorFileNotOpenForInput = 104,
  kErrorInvalidNumber = 106,
  kErrorDeviceReadFault = 161,
  kErrorDivisionByZero = 200,
  kErrorOverflow = 205,
  kErrorInvalidOperation = 207,
};

class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// Throws RunTimeError(code).
[[noreturn]] void raise_run_time_error(int code);

// A short English explanation of an error number, for the message on stderr.
std::string run_time_error_explanation(int code);

// The whole line written to stderr: "Runtime error N: explanation".
std::string run_time_error_message(int code);
