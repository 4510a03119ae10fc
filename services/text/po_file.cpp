// The PO reader: one pass over the lines, an entry built up keyword by keyword.
//
// An entry is complete once it has its msgstr; the next msgctxt, msgid, comment, blank line or
// the end of the text closes it. A keyword out of its order (msgstr before msgid, a second msgid
// before the msgstr) or a string line with no keyword before it is a bad line.
#include "services/text/po_file.h"

#include <cstddef>

namespace {

enum class Field { None, Context, Original, Translation };

struct Reader {
  PoFile file;
  PoEntry entry;
  Field field = Field::None;  // the field that continuation strings go on
  bool has_context = false, has_original = false, has_translation = false;
  bool next_fuzzy = false;    // a fuzzy flag read for the entry that comes next
};

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// Appends the quoted string `text` (quotes included, nothing after them) to `out`.
bool append_string(std::string_view text, std::string& out) {
  text = trim(text);
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == '"') return false;  // a quote inside must be escaped
    if (c == '\\') {
      if (i + 2 >= text.size()) return false;  // the closing quote escaped
      switch (text[++i]) {
        case 'n': c = '\n'; break;
        case 't': c = '\t'; break;
        case 'r': c = '\r'; break;
        case '"': c = '"'; break;
        case '\\': c = '\\'; break;
        default: return false;
      }
    }
    out += c;
  }
  return true;
}

// Closes the entry being read, if it is complete; the header is dropped. False when an entry
// was begun but has no msgstr.
bool close_entry(Reader& reader) {
  if (reader.has_translation) {
    if (reader.has_context || !reader.entry.original.empty()) {
      reader.file.entries.push_back(std::move(reader.entry));
    }
  } else if (reader.has_context || reader.has_original) {
    return false;
  }
  reader.entry = PoEntry{};
  reader.field = Field::None;
  reader.has_context = reader.has_original = reader.has_translation = false;
  return true;
}

// A "#," line: the entry that follows is fuzzy when one of its flags is "fuzzy".
void read_flags(Reader& reader, std::string_view flags) {
  while (!flags.empty()) {
    const std::size_t comma = flags.find(',');
    if (trim(flags.substr(0, comma)) == "fuzzy") reader.next_fuzzy = true;
    if (comma == std::string_view::npos) break;
    flags.remove_prefix(comma + 1);
  }
}

// A line that starts with a keyword; false when the keyword is unknown or out of order.
bool read_keyword(Reader& reader, std::string_view line, int number) {
  const std::size_t space = line.find_first_of(" \t");
  const std::string_view keyword = line.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? "" : line.substr(space);
  if (keyword == "msgctxt" || keyword == "msgid") {
    if (reader.has_translation && !close_entry(reader)) return false;
    if (reader.has_original || (keyword == "msgctxt" && reader.has_context)) return false;
    if (keyword == "msgctxt") {
      reader.has_context = true;
      reader.field = Field::Context;
      reader.entry.fuzzy = reader.next_fuzzy;
      return append_string(rest, reader.entry.context);
    }
    if (!reader.has_context) reader.entry.fuzzy = reader.next_fuzzy;
    reader.next_fuzzy = false;
    reader.has_original = true;
    reader.field = Field::Original;
    reader.entry.line = number;
    return append_string(rest, reader.entry.original);
  }
  if (keyword == "msgstr") {
    if (!reader.has_original || reader.has_translation) return false;
    reader.has_translation = true;
    reader.field = Field::Translation;
    return append_string(rest, reader.entry.translation);
  }
  return false;  // msgid_plural, msgstr[n] and anything else
}

// One line of the text; false when it cannot be read.
bool read_line(Reader& reader, std::string_view line, int number) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::string_view content = trim(line);
  if (content.empty()) return close_entry(reader);
  if (content.front() == '#') {
    if (!close_entry(reader)) return false;
    if (content.starts_with("#,")) read_flags(reader, content.substr(2));
    return true;
  }
  if (content.front() == '"') {
    switch (reader.field) {
      case Field::Context: return append_string(content, reader.entry.context);
      case Field::Original: return append_string(content, reader.entry.original);
      case Field::Translation: return append_string(content, reader.entry.translation);
      case Field::None: return false;
    }
  }
  return read_keyword(reader, content, number);
}

}  // namespace

PoFile parse_po(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte order mark
  Reader reader;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!read_line(reader, line, ++number)) {
      reader.file.error_line = number;
      return std::move(reader.file);
    }
  }
  if (!close_entry(reader)) reader.file.error_line = number;
  return std::move(reader.file);
}
