// The language the programs speak: chosen once at start, before anything is shown.
//
// Hungarian ("hu") is the original language: its texts are in the code (messages.h) and its data
// files are the data folder's own (Zorvan.hlp, Zorvan2.sum, Zorvan.sum). Every other language is
// a subfolder of the data folder named by its code ("en", or "pt_BR" for a country's variant)
// that holds the catalogue zorvan.po and the three data files under the same names. A folder
// with a catalogue is a language the programs offer; adding one needs no change to the code.
//
// The choice, as gettext makes it: `--lang` names the language; without it the messages' locale
// is the first set of LC_ALL, LC_MESSAGES and LANG. Under the plain C or POSIX locale (also when
// none is set) the programs speak Hungarian and LANGUAGE is not looked at; otherwise the entries
// of LANGUAGE (a colon-separated list) and then the locale are tried in turn, and the first whose
// language has a catalogue wins ("en_GB.UTF-8" tries en_GB, then en; C.UTF-8 is Hungarian).
// None: Hungarian.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view kOriginalLanguage = "hu";
constexpr std::string_view kCatalogueName = "zorvan.po";

// The locale variables' values, nullptr for a variable that is not set. The host reads them.
struct LocaleVariables {
  const char* language = nullptr;     // LANGUAGE
  const char* lc_all = nullptr;       // LC_ALL
  const char* lc_messages = nullptr;  // LC_MESSAGES
  const char* lang = nullptr;         // LANG
};

struct LanguageChoice {
  std::string language;  // one of the available languages
  bool refused = false;  // --lang named a language without a catalogue (language: from the rest)
};

// The choice described above among `available` (kOriginalLanguage among them); `requested` is
// --lang's value, empty when it was not given.
LanguageChoice choose_language(std::string_view requested, const LocaleVariables& variables,
                               std::span<const std::string> available);

// The languages of a data folder: Hungarian first, then each subfolder with a catalogue, in the
// order of their names. A folder whose name is not a plain language code ("en", "pt_BR") is
// left out.
std::vector<std::string> available_languages(const std::string& data_folder);

// The available languages as a list to show: "hu, en".
std::string language_list(const std::string& data_folder);

struct LanguageSetUp {
  bool ok = true;
  std::string notice;  // why the program cannot start, in the language in use, when not ok
};

// Chooses the language of the data folder and puts it in use: its catalogue's texts (messages.h)
// and its data files (language_file). When --lang names a language without a catalogue, or
// the chosen catalogue cannot be read, the result says so and the language of the locale
// (or Hungarian) is in use, so that the notice can be said.
LanguageSetUp set_up_language(std::string_view requested, const LocaleVariables& variables,
                              const std::string& data_folder);

// The language in use.
const std::string& current_language();

// Where the data file `name` of the language in use lies, relative to the data folder: the
// name itself for Hungarian, "en/<name>" for English.
std::string language_file(std::string_view name);
