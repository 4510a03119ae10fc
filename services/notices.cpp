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

std::string bad_argument(const std::string& argument) {
  return format_message(Message::NoticeBadArgument, {{"argument", argument}});
}

std::string internal_error(const std::string& what) {
  return format_message(Message::NoticeInternalError, {{"what", what}});
}

}  // namespace notice
