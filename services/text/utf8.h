// UTF-8, the encoding of the terminal, the window's text input and the source literals.
//
// One decoder for all of them: it takes one character from the front of a byte sequence and says
// how many bytes it used, or that the bytes are malformed (an invalid lead byte, a missing
// continuation byte, an overlong form, a surrogate, a value beyond U+10FFFF), or that they stop
// in the middle of a character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct Utf8Char {
  enum class Status : uint8_t { Char, Malformed, Truncated } status;
  char32_t character;  // for Char
  std::size_t length;  // bytes used (Char), or bytes to drop (Malformed, at least 1)
};

// Decodes the character at the front of `bytes`, which must not be empty. Truncated: every
// byte present belongs to a character that needs more (the caller may wait for them, or drop
// `bytes.size()` of them).
Utf8Char decode_utf8(std::span<const uint8_t> bytes);

// Appends the UTF-8 form of `character` (at most U+FFFF: code page 852 needs no more).
void append_utf8(std::string& out, char32_t character);
