// Run-time errors: a failed checked operation ends the program with its number as exit code;
// and the other failure that ends the logic at once, drawing with no surface open.
//
// The failing operation throws RunTimeError; the program entry catches it once, restores the
// terminal, writes "Runtime error N" with a short explanation to stderr and exits with N.
#pragma once

#include <stdexcept>
#include <string>

// Error numbers the programs can raise (each is also the exit code); the table of
// run_time_error.cpp gives each its explanation's message (messages.h).
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorTooManyFiles = 4;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorReadPastEnd = 100;  // standard input ended while a number was expected
constexpr int kErrorDiskWrite = 101;
constexpr int kErrorFileNotOpen = 103;
constexpr int kErrorFileNotOpenForInput = 104;
constexpr int kErrorInvalidNumber = 106;
constexpr int kErrorDeviceReadFault = 161;
constexpr int kErrorDivisionByZero = 200;
constexpr int kErrorOverflow = 205;
constexpr int kErrorInvalidOperation = 207;

class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// Thrown by a drawing operation when no surface is open; the program ends with the graphics
// exit code (program_host.h) and a clear message.
class GraphicsNotOpen : public std::runtime_error {
 public:
  GraphicsNotOpen() : std::runtime_error("graphics surface is not in graphics mode") {}
};

// Throws RunTimeError(code).
[[noreturn]] void raise_run_time_error(int code);

// A short explanation of an error number in the language in use (messages.h; the original is
// English), for the message on stderr.
std::string run_time_error_explanation(int code);

// The whole line written to stderr: "Runtime error N: explanation", the same form in every
// language.
std::string run_time_error_message(int code);
