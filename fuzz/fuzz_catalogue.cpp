// Fuzz target: the catalogue reader and the installing of its translations, on arbitrary text.
//
// Input: the catalogue's text.
//
// Checked: a bad line lies within the text and every entry's line before it; the entries come
// back the same when written out again (each string quoted with the format's escapes) and read
// anew; installed, the catalogue leaves every screen text within its place's limit and in code
// page 852, and a message is translated exactly by the entries catalogue_problems finds sound;
// the notices fill their placeholders without fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "services/text/cp852.h"
#include "services/text/messages.h"
#include "services/text/notices.h"
#include "services/text/po_file.h"

namespace {

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// The entries written out as a catalogue of their own.
std::string written(const PoFile& file) {
  std::string text;
  for (const PoEntry& entry : file.entries) {
    if (entry.fuzzy) text += "#, fuzzy\n";
    text += "msgctxt " + quoted(entry.context) + "\nmsgid " + quoted(entry.original) +
            "\nmsgstr " + quoted(entry.translation) + "\n\n";
  }
  return text;
}

bool same_entries(const PoFile& a, const PoFile& b) {
  return std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(),
                    [](const PoEntry& x, const PoEntry& y) {
                      return x.context == y.context && x.original == y.original &&
                             x.translation == y.translation && x.fuzzy == y.fuzzy;
                    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const PoFile file = parse_po(text);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  FUZZ_CHECK(file.error_line >= 0 && file.error_line <= lines);
  for (const PoEntry& entry : file.entries) {
    FUZZ_CHECK(entry.line >= 1 && entry.line <= lines);
    FUZZ_CHECK(file.error_line == 0 || entry.line < file.error_line);
  }

  // Entries without a context are left out of the copy: one with an empty msgid would read as
  // a header. Every entry the catalogue checks has one anyway.
  PoFile with_context;
  for (const PoEntry& entry : file.entries) {
    if (!entry.context.empty()) with_context.entries.push_back(entry);
  }
  const PoFile again = parse_po(written(with_context));
  FUZZ_CHECK(again.error_line == 0);
  FUZZ_CHECK(same_entries(again, with_context));

  install_catalogue(file);
  const auto problems = catalogue_problems(file);
  const auto sound = [&problems](const PoEntry& entry) {
    const std::string where = "line " + std::to_string(entry.line) + ": " + entry.context + ": ";
    const auto names_it = [&where](const std::string& problem) {
      return problem.starts_with(where);
    };
    return std::none_of(problems.begin(), problems.end(), names_it);
  };
  for (const MessageInfo& info : message_table()) {
    const std::string& in_use = message_text(info.message);
    if (info.screen_limit != 0) {
      FUZZ_CHECK(message_cp852(info.message).size() <= info.screen_limit);
      FUZZ_CHECK(cp852_to_utf8(message_cp852(info.message)) == in_use);
    }
    // The message is its original or the translation of a sound entry of its id; and a sound
    // entry's translation is in use.
    bool from_a_sound_entry = in_use == info.original;
    for (const PoEntry& entry : file.entries) {
      if (entry.context != info.id || !sound(entry)) continue;
      FUZZ_CHECK(entry.translation == in_use);
      from_a_sound_entry = true;
    }
    FUZZ_CHECK(from_a_sound_entry);
  }
  FUZZ_CHECK(!notice::bad_argument("{argument}", "{languages}").empty());
  FUZZ_CHECK(!notice::enlarge_terminal(1, 2).empty());
  use_original_texts();
  return 0;
}
