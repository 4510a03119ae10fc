// The programs' start-up, the same in every edition: the command line read, the language chosen
// and put in use, the run's choices checked and put in force, in this order, before anything is
// shown. The language comes right after the command line is read, so that every notice from
// then on (a refused argument among them) speaks it.
//
// What an edition checks beyond this is its own: the desktop asks for a display and whether the
// zoom fits the screen; the page has neither question.
#pragma once

#include <string>

#include "services/text/language.h"
#include "services/program/program_options.h"

struct StartInputs {
  int argc = 0;
  const char* const* argv = nullptr;
  const char* zoom_variable = nullptr;  // ZORVAN_ZOOM's value, nullptr when not set (or no such)
  LocaleVariables locale;               // the locale variables (none in the page)
  std::string data_folder = ".";        // where the data files and the languages are
};

struct ProgramStart {
  bool ok = true;
  std::string notice;   // why the program cannot start, in the language in use, when not ok
  HostOptions options;  // the options read, when ok
};

// Reads the command line and chooses the language (putting it in use), then refuses, in this
// order: an argument not understood, a --lang without a catalogue (or a catalogue that cannot be
// read), answers given in advance out of their limits, a --save folder that is not there. When
// all is well, the run's choices are put in force (run_choices.h). A refusal ends the program
// with kUsageExitCode (program_host.h).
ProgramStart start_program(const StartInputs& inputs);
