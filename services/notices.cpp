// The notices: messages of the language in use with their values filled in.
#include "services/notices.h"

#include "services/messages.h"

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

std::string zoom_too_large(int zoom, int largest) {
  return format_message(Message::NoticeZoomTooLarge,
                        {{"zoom", std::to_string(zoom)}, {"largest", std::to_string(largest)}});
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

std::string internal_error(const std::string& what) {
  return format_message(Message::NoticeInternalError, {{"what", what}});
}

}  // namespace notice
