// The glossary in the README's "Adding a language": one word for each thing, in every language.
//
// The glossary is a table whose header names the languages ("| | hu | en | de |"); each row is a
// thing, and each language's cell gives its words in backquotes, then, after "not", the words it
// has retired. Every word of a cell must stand somewhere in that language's texts, and no retired
// word may begin a word anywhere in them. A language's texts are what its programs and its page
// show (the messages, the help, both summaries, the page's texts) and, for English, the README's
// parts for the user (up to the set-up, and the web page), without its code. Letters are compared
// without their case (the ASCII ones). Every language folder must have its column.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "services/text/cp852.h"
#include "services/text/language.h"
#include "services/text/messages.h"
#include "services/text/po_file.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = ZORVAN_SOURCE_DIR;

std::string small(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct Row {
  std::string thing;
  std::vector<std::vector<std::string>> words, retired;  // by column
};

struct Glossary {
  std::vector<std::string> languages;
  std::vector<Row> rows;
  std::size_t first_line = 0, end_line = 0;  // the table's lines in the README
};

std::vector<std::string> split_cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t from = line.find('|') + 1;
  for (std::size_t bar = line.find('|', from); bar != std::string::npos;
       from = bar + 1, bar = line.find('|', from))
    cells.push_back(line.substr(from, bar - from));
  return cells;
}

std::vector<std::string> quoted(const std::string& text) {
  std::vector<std::string> words;
  for (std::size_t open = text.find('`'); open != std::string::npos;) {
    const std::size_t close = text.find('`', open + 1);
    if (close == std::string::npos) break;
    words.push_back(text.substr(open + 1, close - open - 1));
    open = text.find('`', close + 1);
  }
  return words;
}

// The first table of the README whose header names the original language.
Glossary read_glossary(const std::vector<std::string>& lines) {
  Glossary glossary;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("|")) continue;
    const std::vector<std::string> header = split_cells(lines[i]);
    if (header.size() < 2 || header[1].find(" hu ") == std::string::npos) continue;
    for (std::size_t c = 1; c < header.size(); ++c) {
      std::string code = header[c];
      std::erase(code, ' ');
      glossary.languages.push_back(code);
    }
    glossary.first_line = i;
    for (i += 2; i < lines.size() && lines[i].starts_with("|"); ++i) {
      const std::vector<std::string> cells = split_cells(lines[i]);
      Row row{cells.empty() ? "" : cells[0], {}, {}};
      for (std::size_t c = 1; c < cells.size(); ++c) {
        const std::size_t cut = cells[c].find(" not ");
        row.words.push_back(quoted(cells[c].substr(0, cut)));
        row.retired.push_back(cut == std::string::npos ? std::vector<std::string>{}
                                                       : quoted(cells[c].substr(cut)));
      }
      glossary.rows.push_back(row);
    }
    glossary.end_line = i;
    break;
  }
  return glossary;
}

// The README's parts for the user, without the glossary itself: up to the set-up, and the web
// page's section.
std::string readme_for_users(const std::vector<std::string>& lines, const Glossary& glossary) {
  std::string text;
  bool past_set_up = false, user_part = true;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].starts_with("## ")) {
      past_set_up = past_set_up || lines[i].starts_with("## Set-up");
      user_part = !past_set_up || lines[i] == "## Web page";
    }
    if (user_part && (i < glossary.first_line || i >= glossary.end_line)) text += lines[i] + "\n";
  }
  // Code (`figures.js`, `--lang en`) names files and commands, not things.
  for (std::size_t open = text.find('`'); open != std::string::npos; open = text.find('`', open)) {
    const std::size_t close = text.find('`', open + 1);
    if (close == std::string::npos) break;
    text.erase(open, close + 1 - open);
  }
  return text;
}

// Every text a language's programs and page show, UTF-8.
std::string language_texts(const std::string& language) {
  const fs::path data = kSource / "data";
  std::string all;
  if (language == kOriginalLanguage) {
    for (const MessageInfo& info : message_table()) all += std::string(info.original) + "\n";
    for (const PoEntry& entry : parse_po(file_bytes(kSource / "web" / "page.pot")).entries)
      all += entry.original + "\n";
  } else {
    for (const char* catalogue : {kCatalogueName.data(), "page.po"})
      for (const PoEntry& entry : parse_po(file_bytes(data / language / catalogue)).entries)
        all += entry.translation + "\n";
  }
  const fs::path folder = language == kOriginalLanguage ? data : data / language;
  for (const char* name : {"Zorvan.hlp", "Zorvan2.sum", "Zorvan.sum"})
    all += cp852_to_utf8(file_bytes(folder / name));
  return all;
}

// Where a word begins in `text` with `start`: at its start, or after a character that is no
// letter (a UTF-8 byte counts as a letter).
bool begins_a_word(const std::string& text, const std::string& start) {
  for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
    const auto before = at == 0 ? ' ' : static_cast<unsigned char>(text[at - 1]);
    if (!std::isalpha(before) && before < 0x80) return true;
  }
  return false;
}

}  // namespace

TEST(Glossary, EachLanguageSaysEachThingWithItsGlossarysWordsAndNoRetiredOne) {
  std::vector<std::string> lines;
  {
    std::string readme = file_bytes(kSource / "README.md"), line;
    for (const char c : readme) {
      if (c != '\n') {
        line += c;
      } else {
        lines.push_back(line);
        line.clear();
      }
    }
  }
  const Glossary glossary = read_glossary(lines);
  ASSERT_GE(glossary.rows.size(), 10u) << "no glossary in the README";
  for (const std::string& language : available_languages((kSource / "data").string())) {
    EXPECT_NE(std::find(glossary.languages.begin(), glossary.languages.end(), language),
              glossary.languages.end())
        << language << ": no column in the glossary";
  }
  for (std::size_t c = 0; c < glossary.languages.size(); ++c) {
    const std::string& language = glossary.languages[c];
    SCOPED_TRACE(language);
    std::string texts = language_texts(language);
    if (language == "en") texts += readme_for_users(lines, glossary);
    texts = small(texts);
    for (const Row& row : glossary.rows) {
      if (c >= row.words.size()) {
        ADD_FAILURE() << row.thing << ": no cell";
        continue;
      }
      for (const std::string& word : row.words[c])
        EXPECT_NE(texts.find(small(word)), std::string::npos) << row.thing << ": " << word;
      for (const std::string& word : row.retired[c])
        EXPECT_FALSE(begins_a_word(texts, small(word))) << row.thing << ": retired " << word;
    }
  }
}
