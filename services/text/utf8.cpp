// The UTF-8 decoder and encoder.
#include "services/text/utf8.h"

namespace {

// The length of a UTF-8 sequence from its lead byte, 0 for a byte that cannot lead one.
std::size_t sequence_length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

Utf8Char decode_utf8(std::span<const uint8_t> bytes) {
  const std::size_t length = sequence_length(bytes[0]);
  if (length == 0) return {Utf8Char::Status::Malformed, 0, 1};
  if (length == 1) return {Utf8Char::Status::Char, bytes[0], 1};
  char32_t character = bytes[0] & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (i == bytes.size()) return {Utf8Char::Status::Truncated, 0, i};
    if ((bytes[i] & 0xC0) != 0x80) return {Utf8Char::Status::Malformed, 0, i};
    character = (character << 6) | (bytes[i] & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool overlong = character < kSmallest[length];
  const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
  if (overlong || surrogate || character > 0x10FFFF) {
    return {Utf8Char::Status::Malformed, 0, length};
  }
  return {Utf8Char::Status::Char, character, length};
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
