// The command line and ZORVAN_ZOOM.
#include "services/program_options.h"

#include <charconv>
#include <string_view>

namespace {

// A whole number 1..kMaxZoom written alone, or 0.
int zoom_value(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value >= 1 && value <= kMaxZoom ? value : 0;
}

}  // namespace

ParsedOptions parse_host_options(int argc, const char* const* argv, const char* zoom_variable) {
  ParsedOptions parsed;
  if (zoom_variable != nullptr && *zoom_variable != '\0') {
    parsed.options.zoom = zoom_value(zoom_variable);
    if (parsed.options.zoom == 0) return {false, {}, std::string("ZORVAN_ZOOM=") + zoom_variable};
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    std::string_view option;
    std::string_view value;
    for (const std::string_view name : {"--zoom", "--lang"}) {
      if (argument == name && i + 1 < argc) {
        option = name;
        value = argv[++i];
      } else if (argument.size() > name.size() && argument.starts_with(name) &&
                 argument[name.size()] == '=') {
        option = name;
        value = argument.substr(name.size() + 1);
      }
    }
    if (option.empty()) return {false, {}, std::string(argument)};
    const std::string rejected = std::string(option) + " " + std::string(value);
    if (option == "--lang") {
      if (value.empty()) return {false, {}, rejected};
      parsed.options.language = value;
      continue;
    }
    parsed.options.zoom = zoom_value(value);
    if (parsed.options.zoom == 0) return {false, {}, rejected};
  }
  return parsed;
}
