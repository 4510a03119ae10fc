// The program's own notices to the person at the terminal, in one place.
//
// They speak the language in use (messages.h). The Hungarian originals end with the English
// words in brackets that a person might need to search for help; a translation says it in its
// own language only. They are UTF-8, written to the terminal or to stderr after the terminal is
// restored (the run-time errors keep their fixed form, see run_time_error.h).
#pragma once

#include <string>

namespace notice {

// The terminal is smaller than the 80x25 screen.
std::string enlarge_terminal(int columns, int rows);
// TERM names no usable terminal type.
std::string unusable_terminal(const char* term);
// The console could not start (a pipe or a thread could not be made).
std::string console_failed(const std::string& reason);
// No graphical display is available.
std::string no_display();
// The graphics window could not be opened or was lost while the program ran.
std::string window_failed();
// The display connection broke while the program ran.
std::string display_lost();
// A zoom that leaves less than 640x480 of the usable screen, and the largest that does not.
std::string zoom_too_large(double zoom, double largest);
// An argument or ZORVAN_ZOOM the program does not understand; `languages` lists the languages
// --lang takes ("hu, en").
std::string bad_argument(const std::string& argument, const std::string& languages);
// --lang names a language that has no catalogue.
std::string unknown_language(const std::string& language, const std::string& languages);
// A language's catalogue that cannot be read: the file and its first bad line.
std::string bad_catalogue(const std::string& file, int line);
// --n or --k (`option`) outside the prompt's limits low..high.
std::string answer_out_of_range(const std::string& option, int value, int low, int high);
// --k without --n.
std::string box1_needs_insects();
// --save names no folder.
std::string save_folder_missing(const std::string& folder);
// The run's picture or figures could not be written into `folder`, and why.
std::string save_failed(const std::string& folder, const std::string& reason);
// An unexpected internal fault.
std::string internal_error(const std::string& what);

}  // namespace notice
