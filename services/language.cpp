// Choosing the language and putting it in use (see language.h).
//
// Only names of the available list are ever used as folder names, and that list holds only
// plain language codes, so nothing a person types or sets can lead the programs out of their
// data folder.
#include "services/language.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "services/messages.h"
#include "services/notices.h"
#include "services/po_file.h"

namespace {

namespace fs = std::filesystem;

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

bool set(const char* variable) { return variable != nullptr && *variable != '\0'; }

// The language an entry of LANGUAGE, a locale or --lang's value stands for, when it is
// available: "en_GB.UTF-8" is en_GB if that has a catalogue, else en; C and POSIX are Hungarian.
bool match(std::string_view entry, std::span<const std::string> available, std::string& found) {
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

std::string joined(std::span<const std::string> languages) {
  std::string list;
  for (const std::string& language : languages) list += (list.empty() ? "" : ", ") + language;
  return list;
}

// Puts the language in use: its catalogue's texts and its data folder. A catalogue that cannot
// be opened counts as unreadable from its first line; Hungarian stays in use then.
LanguageSetUp use_language(const std::string& language, const fs::path& data_folder) {
  use_original_texts();
  in_use() = LanguageInUse{};
  if (language == kOriginalLanguage) return {};
  const fs::path path = (fs::path(language) / kCatalogueName);
  std::ifstream in(data_folder / path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const PoFile catalogue = in ? parse_po(text) : PoFile{{}, 1};
  if (catalogue.error_line != 0) {
    return {false, notice::bad_catalogue(path.string(), catalogue.error_line)};
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
    if (match(requested, available, found)) return {found, false};
    LanguageChoice instead = choose_language({}, variables, available);
    instead.refused = true;
    return instead;
  }
  const char* locale = set(variables.lc_all)        ? variables.lc_all
                       : set(variables.lc_messages) ? variables.lc_messages
                       : set(variables.lang)        ? variables.lang
                                                    : "C";
  // The plain C locale's ASCII could show no translation: gettext does not look at LANGUAGE then.
  if (std::string_view(locale) == "C" || std::string_view(locale) == "POSIX") {
    return {std::string(kOriginalLanguage)};
  }
  std::string_view list = set(variables.language) ? variables.language : "";
  while (!list.empty()) {
    const std::size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (!entry.empty() && match(entry, available, found)) return {found};
    list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
  }
  if (match(locale, available, found)) return {found};
  return {std::string(kOriginalLanguage)};
}

std::vector<std::string> available_languages(const fs::path& data_folder) {
  std::vector<std::string> languages;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(data_folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!plain_code(name) || name == kOriginalLanguage) continue;
    if (fs::is_regular_file(entry.path() / kCatalogueName, error)) languages.push_back(name);
  }
  std::sort(languages.begin(), languages.end());
  languages.insert(languages.begin(), std::string(kOriginalLanguage));
  return languages;
}

std::string language_list(const fs::path& data_folder) {
  return joined(available_languages(data_folder));
}

LanguageSetUp set_up_language(std::string_view requested, const LocaleVariables& variables,
                              const fs::path& data_folder) {
  const std::vector<std::string> available = available_languages(data_folder);
  const LanguageChoice choice = choose_language(requested, variables, available);
  LanguageSetUp result = use_language(choice.language, data_folder);
  if (result.ok && choice.refused) {
    result = {false, notice::unknown_language(std::string(requested), joined(available))};
  }
  return result;
}

const std::string& current_language() { return in_use().language; }

std::string language_file(std::string_view name) { return in_use().folder + std::string(name); }
