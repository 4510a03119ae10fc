// The built-in 8x8 font of draw_text: the classic PC glyphs of code page 437 for codes 0..255.
// Glyph g occupies kFont8x8[8 * g .. 8 * g + 7], one byte per row from the top, the most
// significant bit the leftmost pixel. The table is generated (see font8x8.cpp).
#pragma once

#include <cstdint>

extern const uint8_t kFont8x8[2048];
