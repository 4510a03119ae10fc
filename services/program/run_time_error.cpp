// Run-time errors and their messages: "Runtime error N: " in every language, the explanation in
// the language in use.
#include "services/program/run_time_error.h"

#include "services/text/messages.h"

RunTimeError::RunTimeError(int code)
    : std::runtime_error(run_time_error_message(code)), code_(code) {}

void raise_run_time_error(int code) { throw RunTimeError(code); }

namespace {

struct ErrorExplanation {
  int code;
  Message text;
};

constexpr ErrorExplanation kExplanations[] = {
    {kErrorFileNotFound, Message::ErrorFileNotFound},
    {kErrorTooManyFiles, Message::ErrorTooManyFiles},
    {kErrorAccessDenied, Message::ErrorAccessDenied},
    {kErrorReadPastEnd, Message::ErrorReadPastEnd},
    {kErrorDiskWrite, Message::ErrorDiskWrite},
    {kErrorFileNotOpen, Message::ErrorFileNotOpen},
    {kErrorFileNotOpenForInput, Message::ErrorFileNotOpenForInput},
    {kErrorInvalidNumber, Message::ErrorInvalidNumber},
    {kErrorDeviceReadFault, Message::ErrorDeviceReadFault},
    {kErrorDivisionByZero, Message::ErrorDivisionByZero},
    {kErrorOverflow, Message::ErrorOverflow},
    {kErrorInvalidOperation, Message::ErrorInvalidOperation},
};

}  // namespace

std::string run_time_error_explanation(int code) {
  for (const ErrorExplanation& entry : kExplanations) {
    if (entry.code == code) return message_text(entry.text);
  }
  return message_text(Message::ErrorOther);
}

std::string run_time_error_message(int code) {
  return "Runtime error " + std::to_string(code) + ": " + run_time_error_explanation(code);
}
