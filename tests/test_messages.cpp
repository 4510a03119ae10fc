// The PO reader and the message table: which catalogue entries translate a message, and which
// leave it in the original.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/text/messages.h"
#include "services/text/notices.h"
#include "services/text/po_file.h"

namespace {

// Restores the original texts after each test.
class Messages : public ::testing::Test {
 protected:
  void TearDown() override { use_original_texts(); }
};

bool mentions(const std::vector<std::string>& problems, const std::string& part) {
  for (const std::string& problem : problems) {
    if (problem.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

TEST(PoFile, ReadsEntriesAcrossLinesWithEscapesAndFlagsTheHeaderLeftOut) {
  const PoFile good = parse_po(
      "\xEF\xBB\xBF# a comment\r\nmsgid \"\"\r\nmsgstr \"Language: en\\n\"\r\n\r\n"
      "#, c-format, fuzzy\nmsgctxt \"x.one\"\nmsgid \"Egy\"\nmsgstr \"One\"\n"
      "msgctxt \"x.two\"\nmsgid \"Két \"\n\"\\\"sor\\\"\\\\\"\nmsgstr \"\"\n  \"Two\\tlines\\n\"\n"
      "#~ msgid \"obsolete\"\nmsgid \"no context\"\nmsgstr \"\"\n");
  EXPECT_EQ(good.error_line, 0);
  ASSERT_EQ(good.entries.size(), 3u);
  EXPECT_EQ(good.entries[0].context, "x.one");
  EXPECT_TRUE(good.entries[0].fuzzy);
  EXPECT_EQ(good.entries[0].line, 7);
  EXPECT_EQ(good.entries[1].original, "Két \"sor\"\\");
  EXPECT_EQ(good.entries[1].translation, "Two\tlines\n");
  EXPECT_FALSE(good.entries[1].fuzzy);
  EXPECT_EQ(good.entries[2].context, "");
  EXPECT_EQ(good.entries[2].translation, "");
}

TEST(PoFile, StopsAtTheFirstLineItCannotRead) {
  const struct {
    const char* text;
    int line;
  } cases[] = {
      {"msgstr \"x\"\n", 1},                                    // no msgid before it
      {"msgid \"a\"\nmsgid \"b\"\n", 2},                        // a second msgid
      {"msgid \"a\"\nmsgstr \"b\n", 2},                         // the string not closed
      {"msgid \"a\"\nmsgstr \"b\" x\n", 2},                     // something after it
      {"msgid \"a\"\nmsgstr \"say \"hi\"\"\n", 2},              // a quote not escaped
      {"msgid \"a\"\nmsgid_plural \"as\"\n", 2},                // plural forms
      {"\"loose\"\n", 1},                                       // a string with no keyword
      {"msgid \"a\"\nmsgstr \"\\u00e9\"\n", 2},                 // no escape of the format
      {"msgctxt \"c\"\nmsgid \"a\"\n\nmsgstr \"b\"\n", 3},      // the entry cut by a blank line
      {"msgid \"a\"\nmsgstr \"b\"\nmsgctxt \"c\"\nmsgid \"d\"", 4},  // the last has no msgstr
  };
  for (const auto& c : cases) EXPECT_EQ(parse_po(c.text).error_line, c.line) << c.text;
}

TEST_F(Messages, OnlySoundEntriesTranslateAndTheProblemsAreNamed) {
  const std::string legend(73, 'x');
  const PoFile catalogue = parse_po(
      "msgctxt \"frame.title\"\nmsgid \" Szimuláció \"\nmsgstr \" Simulation \"\n"
      "msgctxt \"frame.page_prompt\"\nmsgid \"Lapozunk?\"\nmsgstr \"Next?\"\n"
      "#, fuzzy\nmsgctxt \"summary.closing\"\nmsgid \"Itt a vége fuss el véle!!!!\"\n"
      "msgstr \"The end\"\n"
      "msgctxt \"run.legend\"\nmsgid \" V/v: vége , L/l: lépésenként , N/n: normál , C/c: "
      "csendes \"\nmsgstr \"" + legend + "\"\n"
      "msgctxt \"chart.strip\"\nmsgid \"Darabszám-változás\"\nmsgstr \"€ change\"\n"
      "msgctxt \"notice.enlarge_terminal\"\nmsgid \"Kérem, nagyítsa meg a terminált legalább "
      "80x25 méretűre (most {columns}x{rows}). [Please enlarge the terminal to at least 80x25.]\"\n"
      "msgstr \"Enlarge to 80x25 ({columns}).\"\n"
      "msgctxt \"notice.internal_error\"\nmsgid \"Belső hiba: {what} [Internal error.]\"\n"
      "msgstr \"Internal error: {what}\"\n"
      "msgctxt \"no.such\"\nmsgid \"x\"\nmsgstr \"y\"\n");
  ASSERT_EQ(catalogue.error_line, 0);
  install_catalogue(catalogue);
  EXPECT_EQ(message_text(Message::FrameTitle), " Simulation ");
  EXPECT_EQ(message_text(Message::PagePrompt), "Lapozhatunk?");  // stale
  EXPECT_EQ(message_text(Message::ClosingLine), "Itt a vége fuss el véle!!!!");  // fuzzy
  EXPECT_EQ(message_cp852(Message::Legend).size(), 59u);         // too long for its box
  EXPECT_EQ(message_text(Message::ChartStrip), "Darabszám-változás");  // no code page 852 euro
  EXPECT_EQ(notice::enlarge_terminal(60, 20).find("Kérem"), 0u);       // a placeholder lost
  // A value is never taken for a placeholder.
  EXPECT_EQ(notice::internal_error("{what}"), "Internal error: {what}");

  const std::vector<std::string> problems = catalogue_problems(catalogue);
  for (const char* expected :
       {"line 5: frame.page_prompt: stale", "summary.closing: marked fuzzy",
        "run.legend: 73 characters, at most 72", "chart.strip: a character code page 852",
        "notice.enlarge_terminal: its placeholders", "no.such: no such message",
        "prompt.insects: missing"}) {
    EXPECT_TRUE(mentions(problems, expected)) << expected;
  }
  EXPECT_FALSE(mentions(problems, "frame.title"));
  EXPECT_FALSE(mentions(problems, "frame.page_prompt: missing"));  // present, if stale

  use_original_texts();
  EXPECT_EQ(message_text(Message::FrameTitle), " Szimuláció ");
}
