// Writes what the web page must know of the programs, from the programs' own definitions, so
// that the page restates none of it: two ES modules for the page's build (cmake/web.cmake).
//
//   page_facts <out folder> <page.pot> [<language>=<page.po> ...]
//
// core_facts.js   the console's size, the largest zoom and seed, the slots of the figures'
//                 answer, the run modes with the keys that select them, the pace keys with the
//                 steps a second each sets, the page prompt's spinner shapes
// languages.js    the page's texts: the Hungarian originals of page.pot and, for each language
//                 given, its sound translations only, judged by the programs' own rule
//                 (translation_problem: not fuzzy, of the current original, not empty, the same
//                 placeholders); a text without one shows its original
//
// Built for node with the web edition and run by the build; exit code 0, or 1 with a message on
// standard error when a file cannot be read or written.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "services/console/console.h"
#include "services/text/language.h"
#include "services/text/messages.h"
#include "services/text/po_file.h"
#include "services/program/program_options.h"
#include "services/web/figure_slots.h"
#include "sim/key_wait.h"
#include "sim/pace.h"
#include "sim/text_frame.h"

namespace {

bool read_file(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

// `text` (UTF-8) as a JavaScript string literal. '<' is escaped too, so that no text can end
// the <script> element the page's modules are inlined into.
std::string js_string(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\'' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || c == '<') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "'";
}

const char* mode_name(RunMode mode) {
  switch (mode) {
    case RunMode::Normal: return "Normal";
    case RunMode::Stepwise: return "Stepwise";
    case RunMode::Quiet: return "Quiet";
    case RunMode::Finish: return "Finish";
  }
  return "";
}

// The keys that select `mode`: those whose mode does not depend on the mode before.
std::string keys_of(RunMode mode) {
  std::string keys;
  for (int key = 1; key < 128; ++key) {
    const RunMode from_normal = mode_for_key(key, RunMode::Normal);
    if (from_normal == mode && mode_for_key(key, RunMode::Quiet) == mode) {
      keys += static_cast<char>(key);
    }
  }
  return keys;
}

std::string core_facts() {
  std::ostringstream out;
  out << "// The programs' facts the page needs, written by the build from the programs' own\n"
         "// definitions (tools/page_facts.cpp). Do not edit.\n\n";
  out << "export const CONSOLE_COLUMNS = " << kConsoleColumns << ";\n";
  out << "export const CONSOLE_ROWS = " << kConsoleRows << ";\n";
  out << "// The zoom the page offers goes from 1 to this.\n";
  out << "export const LARGEST_ZOOM = " << kMaxZoom << ";\n";
  out << "export const LARGEST_SEED = " << kLargestSeed << ";\n";
  out << "// zorvan_figures's answer, slot by slot.\n";
  out << "export const FIGURE_SLOTS = [";
  for (std::size_t i = 0; i < kFigureSlotNames.size(); ++i) {
    out << (i == 0 ? "" : ", ") << js_string(kFigureSlotNames[i]);
  }
  out << "];\n";
  out << "// The run modes by their value (the figures' mode), with the keys that select each.\n";
  out << "export const RUN_MODES = [\n";
  for (const RunMode mode : {RunMode::Normal, RunMode::Stepwise, RunMode::Quiet, RunMode::Finish}) {
    out << "  { value: " << static_cast<int>(mode) << ", name: " << js_string(mode_name(mode))
        << ", keys: " << js_string(keys_of(mode)) << " },\n";
  }
  out << "];\n";
  out << "// The keys that set the pace of normal running, and the steps a second each sets\n"
         "// (0: no limit).\n";
  out << "export const PACE_KEYS = [\n";
  for (int key = 1; key < 128; ++key) {
    const int32_t steps = pace_for_key(key);
    if (steps >= 0) {
      out << "  { key: " << js_string(std::string(1, static_cast<char>(key)))
          << ", steps: " << steps << " },\n";
    }
  }
  out << "];\n";
  out << "// The page prompt's spinner, in the order it turns.\n";
  out << "export const SPINNER_SHAPES = " << js_string(kSpinnerShapes) << ";\n";
  return out.str();
}

// The entries of a catalogue by id.
std::map<std::string, PoEntry> entries_by_id(const PoFile& catalogue) {
  std::map<std::string, PoEntry> entries;
  for (const PoEntry& entry : catalogue.entries) {
    if (!entry.context.empty()) entries.emplace(entry.context, entry);
  }
  return entries;
}

struct Language {
  std::string code;
  std::string path;
};

bool languages_module(const std::string& pot_path, const std::vector<Language>& languages,
                      std::string& module) {
  std::string text;
  if (!read_file(pot_path, text)) return false;
  const std::map<std::string, PoEntry> originals = entries_by_id(parse_po(text));
  std::ostringstream out;
  out << "// The page's texts, written by the build from web/page.pot and data/*/page.po\n"
         "// (tools/page_facts.cpp). Do not edit.\n\n";
  out << "export const ORIGINAL_LANGUAGE = " << js_string(kOriginalLanguage) << ";\n";
  out << "export const ORIGINAL_TEXTS = {\n";
  for (const auto& [id, entry] : originals) {
    out << "  " << js_string(id) << ": " << js_string(entry.original) << ",\n";
  }
  out << "};\n";
  out << "// Each language's sound translations by id.\n";
  out << "export const TRANSLATIONS = {\n";
  for (const Language& language : languages) {
    out << "  " << js_string(language.code) << ": {\n";
    std::string catalogue;
    if (read_file(language.path, catalogue)) {  // a language may have no page catalogue yet
      for (const auto& [id, entry] : entries_by_id(parse_po(catalogue))) {
        const auto original = originals.find(id);
        if (original == originals.end()) continue;
        if (!translation_problem(entry, original->second.original, 0).empty()) continue;
        out << "    " << js_string(id) << ": " << js_string(entry.translation) << ",\n";
      }
    }
    out << "  },\n";
  }
  out << "};\n";
  module = out.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: page_facts <out folder> <page.pot> [<language>=<page.po> ...]\n");
    return 1;
  }
  const std::string folder = argv[1];
  std::vector<Language> languages;
  for (int i = 3; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
      std::fprintf(stderr, "page_facts: not <language>=<page.po>: %s\n", argv[i]);
      return 1;
    }
    languages.push_back({std::string(argument.substr(0, equals)),
                         std::string(argument.substr(equals + 1))});
  }
  std::string texts;
  if (!languages_module(argv[2], languages, texts)) {
    std::fprintf(stderr, "page_facts: cannot read %s\n", argv[2]);
    return 1;
  }
  if (!write_file(folder + "/core_facts.js", core_facts()) ||
      !write_file(folder + "/languages.js", texts)) {
    std::fprintf(stderr, "page_facts: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
