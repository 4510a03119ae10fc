// The command line and ZORVAN_ZOOM.
#include "services/program/program_options.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Digits alone, as an unsigned number no larger than `limit`.
std::optional<uint64_t> whole_number(std::string_view text, uint64_t limit) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > limit) return std::nullopt;
  return value;
}

// A number with an optional leading '-': a prompt's answer, whose range is checked later.
std::optional<int> answer_value(std::string_view text) {
  const bool negative = text.starts_with('-');
  const std::optional<uint64_t> magnitude =
      whole_number(negative ? text.substr(1) : text, INT32_MAX);
  if (!magnitude) return std::nullopt;
  return negative ? -static_cast<int>(*magnitude) : static_cast<int>(*magnitude);
}

// "max", or digits with an optional '.' and more digits, from 1 to kMaxZoom; 0 when not a zoom.
// The decimal point is always '.', whatever the locale.
double zoom_value(std::string_view text, bool& largest) {
  largest = text == "max";
  if (largest) return 1;
  const std::size_t point = text.find('.');
  const std::optional<uint64_t> whole = whole_number(text.substr(0, point), kMaxZoom);
  if (!whole) return 0;
  double value = static_cast<double>(*whole);
  if (point != std::string_view::npos) {
    const std::string_view decimals = text.substr(point + 1);
    const std::optional<uint64_t> fraction = whole_number(decimals, 999999);
    if (!fraction || decimals.size() > 6) return 0;
    value += static_cast<double>(*fraction) / std::pow(10.0, static_cast<double>(decimals.size()));
  }
  return value >= 1 && value <= kMaxZoom ? value : 0;
}

constexpr std::array<std::string_view, 6> kValueOptions = {"--zoom", "--lang", "--seed",
                                                           "--n",    "--k",    "--save"};

// Stores an option's value; false when the value is not one the option takes.
bool take_value(std::string_view option, std::string_view value, HostOptions& options) {
  if (option == "--zoom") {
    options.zoom = zoom_value(value, options.largest_zoom);
    return options.zoom != 0;
  }
  if (value.empty()) return false;
  if (option == "--lang") {
    options.language = value;
  } else if (option == "--save") {
    options.run.save_folder = value;
  } else if (option == "--seed") {
    const std::optional<uint64_t> seed = whole_number(value, kLargestSeed);
    if (!seed) return false;
    options.run.seed = static_cast<uint32_t>(*seed);
  } else {
    const std::optional<int> answer = answer_value(value);
    if (!answer) return false;
    (option == "--n" ? options.run.insect_count : options.run.box1_count) = *answer;
  }
  return true;
}

}  // namespace

ParsedOptions parse_host_options(int argc, const char* const* argv, const char* zoom_variable) {
  ParsedOptions parsed;
  // The first refusal is the one told; the arguments after it are still read, so that its
  // notice speaks the language a later --lang names.
  const auto refuse = [&parsed](std::string rejected) {
    if (!parsed.ok) return;
    parsed.ok = false;
    parsed.rejected = std::move(rejected);
  };
  if (zoom_variable != nullptr && *zoom_variable != '\0' &&
      !take_value("--zoom", zoom_variable, parsed.options)) {
    refuse(std::string("ZORVAN_ZOOM=") + zoom_variable);
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--no-help") {
      parsed.options.run.skip_help = true;
      continue;
    }
    if (argument == "--window") {
      parsed.options.window = true;
      continue;
    }
    std::string_view option;
    std::string_view value;
    for (const std::string_view name : kValueOptions) {
      if (argument == name && i + 1 < argc) {
        option = name;
        value = argv[++i];
      } else if (argument.size() > name.size() && argument.starts_with(name) &&
                 argument[name.size()] == '=') {
        option = name;
        value = argument.substr(name.size() + 1);
      }
    }
    if (option.empty()) {
      refuse(std::string(argument));
    } else if (!take_value(option, value, parsed.options)) {
      refuse(std::string(option) + " " + std::string(value));
    }
  }
  return parsed;
}
