// Number text (see number_text.h).
#include "services/numbers/number_text.h"

#include <cmath>
#include <cstdio>

std::string int_to_text(int64_t value, int width, std::size_t max_length) {
  std::string text = std::to_string(value);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  if (text.size() > max_length) text.resize(max_length);
  return text;
}

std::string real_to_text(double value, int width, int decimals) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
  return buffer;
}

std::string zoom_text(double zoom) {
  const auto hundredths = static_cast<int64_t>(std::floor(zoom * 100 + 1e-9));
  std::string text = std::to_string(hundredths / 100);
  const int64_t fraction = hundredths % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}
