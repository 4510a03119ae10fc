// Choosing the language and putting it in use (see language.h).
//
// Only names of the available list are ever used as folder names, and that list holds only
// plain language codes, so nothing a person types or sets can lead the programs out of their
// data folder. The folder and the catalogue are read with the system's own calls, as the text
// files are: the C++ library's file system and streams would make the web page's programs more
// than twice as large.
#include "services/text/language.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "services/text/messages.h"
#include "services/text/notices.h"
#include "services/text/po_file.h"

namespace {

struct LanguageInUse {
  std::string language{kOriginalLanguage};
  std::string folder;  // "" for Hungarian, else "<language>/"
};

LanguageInUse& in_use() {
  static LanguageInUse state;
  return state;
}

bool lower_letters(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool upper_letters_or_digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// "en" or "pt_BR": two or three small letters, then perhaps "_" and a region of two or three
// capitals or digits.
bool plain_code(std::string_view code) {
  const std::size_t cut = code.find('_');
  const std::string_view language = code.substr(0, cut);
  if (language.size() < 2 || language.size() > 3 || !lower_letters(language)) return false;
  if (cut == std::string_view::npos) return true;
  const std::string_view region = code.substr(cut + 1);
  return region.size() >= 2 && region.size() <= 3 && upper_letters_or_digits(region);
}

// A locale's name without its code set and modifier: "en_GB.UTF-8@euro" gives "en_GB".
std::string_view locale_name(std::string_view locale) {
  return locale.substr(0, locale.find_first_of(".@"));
}

// C and POSIX, with a code set or without: texts untranslated, so Hungarian.
bool is_c_locale(std::string_view locale) {
  const std::string_view name = locale_name(locale);
  return name == "C" || name == "POSIX";
}

bool is_set(const char* variable) { return variable != nullptr && *variable != '\0'; }

// The language an entry of LANGUAGE, a locale or --lang's value stands for, when it is
// available: "en_GB.UTF-8" is en_GB if that has a catalogue, else en; C and POSIX are Hungarian.
bool match_language(std::string_view entry, std::span<const std::string> available,
                    std::string& found) {
  const std::string_view name = locale_name(entry);
  if (is_c_locale(name)) {
    found = kOriginalLanguage;
    return true;
  }
  for (const std::string_view candidate : {name, name.substr(0, name.find('_'))}) {
    if (std::find(available.begin(), available.end(), candidate) != available.end()) {
      found = candidate;
      return true;
    }
  }
  return false;
}

std::string joined_list(std::span<const std::string> languages) {
  std::string list;
  for (const std::string& language : languages) list += (list.empty() ? "" : ", ") + language;
  return list;
}

bool is_regular_file(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The whole file into `text`; false when it cannot be read.
bool read_whole_file(const std::string& path, std::string& text) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  char buffer[4096];
  ssize_t count = 0;
  while ((count = read(descriptor, buffer, sizeof buffer)) != 0) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    text.append(buffer, static_cast<std::size_t>(count));
  }
  close(descriptor);
  return count == 0;
}

// Puts the language in use: its catalogue's texts and its data folder. A catalogue that cannot
// be read counts as bad from its first line; Hungarian stays in use then.
LanguageSetUp use_language(const std::string& language, const std::string& data_folder) {
  use_original_texts();
  in_use() = LanguageInUse{};
  if (language == kOriginalLanguage) return {};
  const std::string path = language + "/" + std::string(kCatalogueName);
  std::string text;
  const PoFile catalogue =
      read_whole_file(data_folder + "/" + path, text) ? parse_po(text) : PoFile{{}, 1};
  if (catalogue.error_line != 0) {
    return {false, notice::bad_catalogue(path, catalogue.error_line)};
  }
  install_catalogue(catalogue);
  in_use() = LanguageInUse{language, language + "/"};
  return {};
}

}  // namespace

LanguageChoice choose_language(std::string_view requested, const LocaleVariables& variables,
                               std::span<const std::string> available) {
  std::string found;
  if (!requested.empty()) {
    if (match_language(requested, available, found)) return {found, false};
    LanguageChoice instead = choose_language({}, variables, available);
    instead.refused = true;
    return instead;
  }
  const char* locale = is_set(variables.lc_all)        ? variables.lc_all
                       : is_set(variables.lc_messages) ? variables.lc_messages
                       : is_set(variables.lang)        ? variables.lang
                                                    : "C";
  // The plain C locale's ASCII could show no translation: gettext does not look at LANGUAGE then.
  if (std::string_view(locale) == "C" || std::string_view(locale) == "POSIX") {
    return {std::string(kOriginalLanguage)};
  }
  std::string_view list = is_set(variables.language) ? variables.language : "";
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (!entry.empty() && match_language(entry, available, found)) return {found};
    list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
  }
  if (match_language(locale, available, found)) return {found};
  return {std::string(kOriginalLanguage)};
}

std::vector<std::string> available_languages(const std::string& data_folder) {
  std::vector<std::string> languages;
  if (DIR* folder = opendir(data_folder.c_str())) {
    while (const dirent* entry = readdir(folder)) {
      const std::string name = entry->d_name;
      if (!plain_code(name) || name == kOriginalLanguage) continue;
      const std::string catalogue = data_folder + "/" + name + "/" + std::string(kCatalogueName);
      if (is_regular_file(catalogue)) languages.push_back(name);
    }
    closedir(folder);
  }
  std::sort(languages.begin(), languages.end());
  languages.insert(languages.begin(), std::string(kOriginalLanguage));
  return languages;
}

std::string language_list(const std::string& data_folder) {
  return joined_list(available_languages(data_folder));
}

LanguageSetUp set_up_language(std::string_view requested, const LocaleVariables& variables,
                              const std::string& data_folder) {
  const std::vector<std::string> available = available_languages(data_folder);
  const LanguageChoice choice = choose_language(requested, variables, available);
  LanguageSetUp result = use_language(choice.language, data_folder);
  if (result.ok && choice.refused) {
    result = {false, notice::unknown_language(std::string(requested), joined_list(available))};
  }
  return result;
}

const std::string& current_language() { return in_use().language; }

std::string language_file(std::string_view name) { return in_use().folder + std::string(name); }
