// Every text a person reads from the programs, in one table, and the texts in use.
//
// A message has a stable id (the msgctxt of its entry in a language's catalogue, po_file.h), its
// Hungarian original (UTF-8; the msgid) and, for a text shown on the console or the surface, the
// longest text its place holds. Hungarian is the original language: until a catalogue is
// installed, and for every message a catalogue does not translate soundly, the original is used.
//
// A catalogue's entry is taken when its id is known, it is not fuzzy, its msgid is the current
// original (a translation of an older original is stale), its msgstr is not empty, and it keeps
// the original's placeholders; a screen text must also be code page 852 text within its limit.
// catalogue_problems names every entry that fails, and every message a catalogue lacks.
//
// A "{name}" in a text is a placeholder that format_message fills in. The texts are installed
// before the program logic starts and only read afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "services/text/po_file.h"

enum class Message : uint16_t {
  // The text frame and the page prompt.
  FrameTitle,
  PagePrompt,
  // The two number prompts; the upper bound and "]" follow.
  PromptInsects,
  PromptBox1,
  // The run screen's key legend and chart titles (the first version has two charts of its own).
  Legend,
  ChartEmpirical,
  ChartTheory,
  ChartStrip,
  ChartEmpiricalFirst,
  ChartStripFirst,
  // The data files' missing-file messages and the closing line.
  HelpMissing,
  SummaryMissing,
  HelpMissingFirst,
  SummaryMissingFirst,
  ClosingLine,
  // The program's own notices (notices.h).
  NoticeEnlargeTerminal,
  NoticeUnusableTerminal,
  NoticeNoTerm,
  NoticeConsoleFailed,
  NoticeNoDisplay,
  NoticeWindowFailed,
  NoticeDisplayLost,
  NoticeZoomTooLarge,
  NoticeBadArgument,
  NoticeUnknownLanguage,
  NoticeBadCatalogue,
  NoticeInternalError,
  NoticeAnswerOutOfRange,
  NoticeBox1NeedsInsects,
  NoticeSaveFolderMissing,
  NoticeSaveFailed,
  // The explanations of the run-time errors (run_time_error.h).
  ErrorFileNotFound,
  ErrorTooManyFiles,
  ErrorAccessDenied,
  ErrorReadPastEnd,
  ErrorDiskWrite,
  ErrorFileNotOpen,
  ErrorFileNotOpenForInput,
  ErrorInvalidNumber,
  ErrorDeviceReadFault,
  ErrorDivisionByZero,
  ErrorOverflow,
  ErrorInvalidOperation,
  ErrorOther,
  // The headings of the saved figures (saved_run.h).
  FiguresProgram,
  FiguresSeed,
  FiguresInsects,
  FiguresBox1Start,
  FiguresBox1End,
  FiguresSteps,
  FiguresFirstDistance,
  FiguresFinalDistance,
  FiguresCount,
  FiguresEmpirical,
  FiguresTheory,
  FiguresScale,
  FiguresStripStep,
  FiguresStripCount,
};
constexpr std::size_t kMessageCount = static_cast<std::size_t>(Message::FiguresStripCount) + 1;

// The longest text each place of the console or the surface holds, in characters (code page
// 852 bytes). The places' own code says why (text_frame.cpp, run_screen.cpp, ...).
namespace text_limit {
constexpr std::size_t kFrameTitle = 24;   // centred in the frame's top edge and the title box
constexpr std::size_t kPagePrompt = 44;   // from column 35, its spinner left of column 80
constexpr std::size_t kPrompt = 60;       // a prompt, its bound and an answer on one line
constexpr std::size_t kLegend = 72;       // the legend box inside the frame of a 640-pixel surface
constexpr std::size_t kChartTitle = 32;   // a chart panel's title
constexpr std::size_t kConsoleLine = 76;  // a line of the text frame's inner window
constexpr std::size_t kClosingLine = 50;  // from column 25 on
}  // namespace text_limit

struct MessageInfo {
  Message message;
  std::string_view id;        // the catalogue's msgctxt
  std::string_view original;  // Hungarian, UTF-8
  std::size_t screen_limit;   // a screen text's limit; 0 for a notice (UTF-8, any length)
};

// The table, in the order of Message.
std::span<const MessageInfo> message_table();

// The message in the language in use, UTF-8 (notices) or code page 852 (screen texts).
const std::string& message_text(Message message);
const std::string& message_cp852(Message message);

// A placeholder's name and the value that takes its place.
struct MessageValue {
  std::string_view name;
  std::string value;
};

// The message in use (UTF-8) with each "{name}" replaced by its value.
std::string format_message(Message message, std::initializer_list<MessageValue> values);

// Every message back to its Hungarian original.
void use_original_texts();

// Why a catalogue's entry cannot translate a text whose original is `original` (a screen text
// when `screen_limit` is not 0); empty when it can. The page's own catalogues follow the same
// rules (web/page.pot).
std::string translation_problem(const PoEntry& entry, std::string_view original,
                                std::size_t screen_limit);

// What is wrong with a catalogue, one line for each problem ("line 12: run.legend: ...");
// empty when it translates every message soundly.
std::vector<std::string> catalogue_problems(const PoFile& catalogue);

// Every message back to its original, then the catalogue's sound entries in their place.
void install_catalogue(const PoFile& catalogue);
