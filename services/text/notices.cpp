// The notices: messages of the language in use with their values filled in.
#include "services/text/notices.h"

#include "services/text/messages.h"
#include "services/numbers/number_text.h"

namespace notice {

std::string enlarge_terminal(int columns, int rows) {
  return format_message(Message::NoticeEnlargeTerminal,
                        {{"columns", std::to_string(columns)}, {"rows", std::to_string(rows)}});
}

std::string unusable_terminal(const char* term) {
  return format_message(Message::NoticeUnusableTerminal,
                        {{"term", term != nullptr ? term : message_text(Message::NoticeNoTerm)}});
}

std::string console_failed(const std::string& reason) {
  return format_message(Message::NoticeConsoleFailed, {{"reason", reason}});
}

std::string no_display() { return message_text(Message::NoticeNoDisplay); }

std::string window_failed() { return message_text(Message::NoticeWindowFailed); }

std::string display_lost() { return message_text(Message::NoticeDisplayLost); }

std::string zoom_too_large(double zoom, double largest) {
  return format_message(Message::NoticeZoomTooLarge,
                        {{"zoom", zoom_text(zoom)}, {"largest", zoom_text(largest)}});
}

std::string bad_argument(const std::string& argument, const std::string& languages) {
  return format_message(Message::NoticeBadArgument,
                        {{"argument", argument}, {"languages", languages}});
}

std::string unknown_language(const std::string& language, const std::string& languages) {
  return format_message(Message::NoticeUnknownLanguage,
                        {{"language", language}, {"languages", languages}});
}

std::string bad_catalogue(const std::string& file, int line) {
  return format_message(Message::NoticeBadCatalogue,
                        {{"file", file}, {"line", std::to_string(line)}});
}

std::string answer_out_of_range(const std::string& option, int value, int low, int high) {
  return format_message(Message::NoticeAnswerOutOfRange, {{"option", option},
                                                          {"value", std::to_string(value)},
                                                          {"low", std::to_string(low)},
                                                          {"high", std::to_string(high)}});
}

std::string box1_needs_insects() { return message_text(Message::NoticeBox1NeedsInsects); }

std::string save_folder_missing(const std::string& folder) {
  return format_message(Message::NoticeSaveFolderMissing, {{"folder", folder}});
}

std::string save_failed(const std::string& folder, const std::string& reason) {
  return format_message(Message::NoticeSaveFailed, {{"folder", folder}, {"reason", reason}});
}

std::string internal_error(const std::string& what) {
  return format_message(Message::NoticeInternalError, {{"what", what}});
}

}  // namespace notice
