// Code page 852, the single-byte character set of every text of the programs.
//
// Texts live inside the programs as code page 852 bytes: lengths, text widths and the
// 80-character limits count bytes. Source literals are written in UTF-8 and converted with cp852().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Unicode character a code page 852 byte stands for (byte 178 is U+2593, the dark shade).
char32_t cp852_to_unicode(uint8_t byte);

// The code page 852 byte of a Unicode character, or -1 when the code page has none.
int unicode_to_cp852(char32_t character);

// UTF-8 text to code page 852 bytes; characters the code page lacks become '?'.
std::string cp852(std::string_view utf8);

// Code page 852 bytes to UTF-8 text.
std::string cp852_to_utf8(std::string_view bytes);
