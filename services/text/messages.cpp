// The message table, the texts in use, and the checks a catalogue's entries pass.
//
// The originals are the programs' Hungarian texts as they always were, byte for byte; the
// notices keep the English words in brackets that a person might search for. The run-time
// errors' explanations have always been English and stay so in the original.
#include "services/text/messages.h"

#include <algorithm>
#include <array>
#include <set>

#include "services/text/cp852.h"

namespace {

using namespace text_limit;

constexpr MessageInfo kMessages[] = {
    {Message::FrameTitle, "frame.title", " Szimuláció ", kFrameTitle},
    {Message::PagePrompt, "frame.page_prompt", "Lapozhatunk?", kPagePrompt},
    {Message::PromptInsects, "prompt.insects", "Hány Zorvan legyen összesen? [5-", kPrompt},
    {Message::PromptBox1, "prompt.box1", "Hány Zorvan legyen az 1. dobozban? [0-", kPrompt},
    {Message::Legend, "run.legend", " V/v: vége , L/l: lépésenként , N/n: normál , C/c: csendes ",
     kLegend},
    {Message::ChartEmpirical, "chart.empirical", "Empirikus eloszlás", kChartTitle},
    {Message::ChartTheory, "chart.theory", "Elméleti eloszlás", kChartTitle},
    {Message::ChartStrip, "chart.strip", "Darabszám-változás", kChartTitle},
    {Message::ChartEmpiricalFirst, "chart.first.empirical", "Eloszlás", kChartTitle},
    {Message::ChartStripFirst, "chart.first.strip", "Változás", kChartTitle},
    {Message::HelpMissing, "help.missing", "  Nincs meg a tájékoztató fájl!!!  ", kConsoleLine},
    {Message::SummaryMissing, "summary.missing", "  Nincs meg az összefoglaló fájl!!!  ",
     kConsoleLine},
    {Message::HelpMissingFirst, "help.first.missing", "  Nincs meg a tájékoztató file!!!  ",
     kConsoleLine},
    {Message::SummaryMissingFirst, "summary.first.missing",
     "  Nincs meg az összefoglaló file!!!  ", kConsoleLine},
    {Message::ClosingLine, "summary.closing", "Itt a vége fuss el véle!!!!", kClosingLine},
    {Message::NoticeEnlargeTerminal, "notice.enlarge_terminal",
     "Kérem, nagyítsa meg a terminált legalább 80x25 méretűre (most {columns}x{rows}). "
     "[Please enlarge the terminal to at least 80x25.]",
     0},
    {Message::NoticeUnusableTerminal, "notice.unusable_terminal",
     "Ez a terminál nem használható (TERM={term}): ismeretlen típus, vagy nem tudja a kurzort "
     "mozgatni. [Cannot use this terminal: unknown type or no cursor control.]",
     0},
    {Message::NoticeNoTerm, "notice.no_term", "nincs", 0},
    {Message::NoticeConsoleFailed, "notice.console_failed",
     "A konzol nem indítható: {reason} [Cannot start the console.]", 0},
    {Message::NoticeNoDisplay, "notice.no_display",
     "Nincs grafikus kijelző, ezért a futás ablaka nem nyitható meg: indítsa a programot "
     "grafikus asztalon (X11 vagy Wayland), állítsa be a DISPLAY változót, vagy futtassa "
     "böngészőben a weblapos változatot (./run.sh --web). [No display: the graphics window "
     "cannot be opened.]",
     0},
    {Message::NoticeWindowFailed, "notice.window_failed",
     "A grafikus ablak nem nyitható meg. [The graphics window cannot be opened.]", 0},
    {Message::NoticeDisplayLost, "notice.display_lost",
     "Megszakadt a kapcsolat a grafikus kijelzővel, a program leállt. [The connection to the "
     "display was lost.]",
     0},
    {Message::NoticeZoomTooLarge, "notice.zoom_too_large",
     "A nagyítás (--zoom {zoom}) túl nagy ehhez a képernyőhöz: a rajzlap legalább 640x480 "
     "képpontos kell legyen, itt legfeljebb --zoom {largest} fér el. [Zoom too large for this "
     "screen.]",
     0},
    {Message::NoticeBadArgument, "notice.bad_argument",
     "Ismeretlen vagy hibás megadás: \"{argument}\". Használat: zorvan2 vagy zorvan [--zoom "
     "Z] [--lang NYELV] [--seed S] [--n N [--k K]] [--no-help] [--window] [--save MAPPA], ahol "
     "Z a nagyítás 1 és 8 között (egész vagy tizedes szám, pl. 1.5, vagy max; ZORVAN_ZOOM=Z "
     "is lehet), a NYELV ezek egyike: {languages}, S a véletlenmag 0 és 4294967295 között, N és"
     " K a két kérdés válasza. [Usage: --zoom Z (1 to 8, e.g. 1.5, or max), --lang LANGUAGE "
     "(one of {languages}), --seed S (0 to 4294967295), --n N, --k K, --no-help, --window, "
     "--save FOLDER.]",
     0},
    {Message::NoticeUnknownLanguage, "notice.unknown_language",
     "Ehhez a nyelvhez nincs katalógus: --lang {language}. Választható nyelvek: {languages}. "
     "[No catalogue for this language; the languages are {languages}.]",
     0},
    {Message::NoticeBadCatalogue, "notice.bad_catalogue",
     "A nyelvi katalógus ({file}) {line}. sora hibás. [The language catalogue {file} cannot be "
     "read: line {line}.]",
     0},
    {Message::NoticeInternalError, "notice.internal_error", "Belső hiba: {what} [Internal error.]",
     0},
    {Message::NoticeAnswerOutOfRange, "notice.answer_out_of_range",
     "A(z) {option} {value} nem megengedett: {low} és {high} közötti egész szám kell. "
     "[{option} must be a whole number from {low} to {high}.]",
     0},
    {Message::NoticeBox1NeedsInsects, "notice.box1_needs_insects",
     "A --k csak a --n mellett adható meg. [--k needs --n.]", 0},
    {Message::NoticeSaveFolderMissing, "notice.save_folder_missing",
     "Nincs ilyen mappa, ide nem menthető: --save {folder} [No such folder.]", 0},
    {Message::NoticeSaveFailed, "notice.save_failed",
     "A futás képe és adatai nem menthetők ide: {folder} ({reason}). [Cannot save the run's "
     "picture and figures.]",
     0},
    {Message::ErrorFileNotFound, "error.file_not_found", "file not found", 0},
    {Message::ErrorTooManyFiles, "error.too_many_files", "too many open files", 0},
    {Message::ErrorAccessDenied, "error.access_denied", "file access denied", 0},
    {Message::ErrorReadPastEnd, "error.read_past_end", "read past end of input", 0},
    {Message::ErrorDiskWrite, "error.disk_write", "disk write error", 0},
    {Message::ErrorFileNotOpen, "error.file_not_open", "file not open", 0},
    {Message::ErrorFileNotOpenForInput, "error.file_not_open_for_input", "file not open for input",
     0},
    {Message::ErrorInvalidNumber, "error.invalid_number", "invalid numeric format", 0},
    {Message::ErrorDeviceReadFault, "error.device_read_fault", "device read fault", 0},
    {Message::ErrorDivisionByZero, "error.division_by_zero", "division by zero", 0},
    {Message::ErrorOverflow, "error.overflow", "floating point overflow", 0},
    {Message::ErrorInvalidOperation, "error.invalid_operation", "invalid floating point operation",
     0},
    {Message::ErrorOther, "error.other", "input/output error", 0},
    {Message::FiguresProgram, "figures.program", "Program", 0},
    {Message::FiguresSeed, "figures.seed", "Véletlenmag (--seed)", 0},
    {Message::FiguresInsects, "figures.insects", "Zorvanok száma (N)", 0},
    {Message::FiguresBox1Start, "figures.box1_start", "Az 1. dobozban kezdetben (K)", 0},
    {Message::FiguresBox1End, "figures.box1_end", "Az 1. dobozban a végén", 0},
    {Message::FiguresSteps, "figures.steps", "Lépések száma (T)", 0},
    {Message::FiguresFirstDistance, "figures.first_distance", "Távolság az 1. lépésben", 0},
    {Message::FiguresFinalDistance, "figures.final_distance", "Távolság a végén", 0},
    {Message::FiguresCount, "figures.count", "Az 1. doboz darabszáma", 0},
    {Message::FiguresEmpirical, "figures.empirical", "Empirikus eloszlás", 0},
    {Message::FiguresTheory, "figures.theory", "Elméleti eloszlás", 0},
    {Message::FiguresScale, "figures.scale", "Lépték (képpont egységenként)", 0},
    {Message::FiguresStripStep, "figures.strip_step", "Lépés", 0},
    {Message::FiguresStripCount, "figures.strip_count", "Az 1. doboz darabszáma utána", 0},
};
static_assert(std::size(kMessages) == kMessageCount, "one table entry for each message");

constexpr bool table_in_message_order() {
  for (std::size_t i = 0; i < kMessageCount; ++i) {
    if (static_cast<std::size_t>(kMessages[i].message) != i) return false;
  }
  return true;
}
static_assert(table_in_message_order(), "the table's entries in the order of Message");

// The texts in use, each in both encodings.
struct Texts {
  std::array<std::string, kMessageCount> utf8, cp852;

  Texts() { reset(); }
  void reset() {
    for (std::size_t i = 0; i < kMessageCount; ++i) set(i, kMessages[i].original);
  }
  void set(std::size_t index, std::string_view text) {
    utf8[index] = std::string(text);
    cp852[index] = ::cp852(text);
  }
};

Texts& texts() {
  static Texts instance;
  return instance;
}

const MessageInfo* find_message(std::string_view id) {
  for (const MessageInfo& info : kMessages) {
    if (info.id == id) return &info;
  }
  return nullptr;
}

// The placeholders a text names, "{name}" each (a name may stand more than once).
std::set<std::string_view> placeholders(std::string_view text) {
  std::set<std::string_view> names;
  for (std::size_t open = text.find('{'); open != std::string_view::npos;
       open = text.find('{', open + 1)) {
    const std::size_t close = text.find('}', open);
    if (close == std::string_view::npos) break;
    names.insert(text.substr(open, close + 1 - open));
  }
  return names;
}

bool encodable_in_cp852(std::string_view utf8) {
  return cp852_to_utf8(cp852(utf8)) == utf8;
}

// Why the entry cannot translate its message; empty when it can.
std::string entry_problem(const PoEntry& entry, const MessageInfo* info) {
  if (info == nullptr) return "no such message";
  return translation_problem(entry, info->original, info->screen_limit);
}

}  // namespace

std::string translation_problem(const PoEntry& entry, std::string_view original,
                                std::size_t screen_limit) {
  if (entry.fuzzy) return "marked fuzzy";
  if (entry.original != original) return "stale: its msgid is not the current original";
  if (entry.translation.empty()) return "not translated";
  if (placeholders(entry.translation) != placeholders(original)) {
    return "its placeholders differ from the original's";
  }
  if (screen_limit == 0) return {};
  if (!encodable_in_cp852(entry.translation)) return "a character code page 852 does not have";
  const std::size_t length = cp852(entry.translation).size();
  if (length > screen_limit) {
    return std::to_string(length) + " characters, at most " + std::to_string(screen_limit);
  }
  return {};
}

std::span<const MessageInfo> message_table() { return kMessages; }

const std::string& message_text(Message message) {
  return texts().utf8[static_cast<std::size_t>(message)];
}

const std::string& message_cp852(Message message) {
  return texts().cp852[static_cast<std::size_t>(message)];
}

// One pass over the text, so that a value holding "{...}" is never taken for a placeholder.
std::string format_message(Message message, std::initializer_list<MessageValue> values) {
  const std::string& text = message_text(message);
  std::string out;
  std::size_t from = 0;
  for (std::size_t open = text.find('{'); open != std::string::npos; open = text.find('{', from)) {
    const std::size_t close = text.find('}', open);
    if (close == std::string::npos) break;
    const std::string_view name = std::string_view(text).substr(open + 1, close - open - 1);
    const auto value = std::find_if(values.begin(), values.end(),
                                    [name](const MessageValue& v) { return v.name == name; });
    out.append(text, from, open - from);
    out += value != values.end() ? value->value : text.substr(open, close + 1 - open);
    from = close + 1;
  }
  out.append(text, from);
  return out;
}

void use_original_texts() { texts().reset(); }

std::vector<std::string> catalogue_problems(const PoFile& catalogue) {
  std::vector<std::string> problems;
  std::array<bool, kMessageCount> present{}, translated{};
  for (const PoEntry& entry : catalogue.entries) {
    const MessageInfo* info = find_message(entry.context);
    if (info != nullptr) present[static_cast<std::size_t>(info->message)] = true;
    const std::string problem = entry_problem(entry, info);
    const std::string where = "line " + std::to_string(entry.line) + ": " + entry.context + ": ";
    if (!problem.empty()) {
      problems.push_back(where + problem);
    } else if (translated[static_cast<std::size_t>(info->message)]) {
      problems.push_back(where + "translated twice");
    } else {
      translated[static_cast<std::size_t>(info->message)] = true;
    }
  }
  for (const MessageInfo& info : kMessages) {
    if (!present[static_cast<std::size_t>(info.message)]) {
      problems.push_back(std::string(info.id) + ": missing");
    }
  }
  return problems;
}

// The first sound entry of a message translates it; catalogue_problems names any later one.
void install_catalogue(const PoFile& catalogue) {
  texts().reset();
  std::array<bool, kMessageCount> translated{};
  for (const PoEntry& entry : catalogue.entries) {
    const MessageInfo* info = find_message(entry.context);
    if (!entry_problem(entry, info).empty()) continue;
    const auto index = static_cast<std::size_t>(info->message);
    if (translated[index]) continue;
    translated[index] = true;
    texts().set(index, entry.translation);
  }
}
