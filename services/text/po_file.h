// Message catalogues in the GNU gettext PO format, read by a reader of our own (the page has no C
// library locale, so both editions read the same files the same way).
//
// A catalogue is UTF-8 text of entries separated by blank lines:
//
//   #. a comment for translators          (any line starting with # is a comment ...)
//   #, fuzzy                              (... but the flags line marks a doubtful entry)
//   msgctxt "frame.title"                 the message's stable id
//   msgid " Szimuláció "                  the original text (Hungarian)
//   msgstr " Simulation "                 its translation; empty: not translated
//
// A keyword's string may go on over the following lines that hold a string alone; the pieces
// are joined. Strings know the escapes \" \\ \n \t and \r. The header (the entry with an empty
// msgid and no context) carries no message and is left out. Plural forms are not used by the
// programs and count as unreadable, as does any line that is none of the above.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct PoEntry {
  std::string context;      // msgctxt, empty when the entry has none
  std::string original;     // msgid
  std::string translation;  // msgstr, empty when not translated
  bool fuzzy = false;       // flagged "fuzzy": a translator must look at it again
  int line = 0;             // the line its msgid stands on, 1-based
};

struct PoFile {
  std::vector<PoEntry> entries;  // in file order, the header left out
  int error_line = 0;            // 0 when the whole text was read; else the first bad line
};

// Reads a catalogue's text. On a bad line it stops there: entries before it are kept.
PoFile parse_po(std::string_view text);
