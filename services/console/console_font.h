// The console picture's bitmap fonts: one design (Terminus Font, code page 852) in nine sizes,
// from 6x12 to 16x32 pixels a cell, so that the 80x25 console can be shown crisp at almost any
// size: each size at any whole multiple.
//
// A glyph is `height` rows from the top, each row ceil(width / 8) bytes, the most significant bit
// of a row's first byte its leftmost pixel. Glyph b is the code page 852 character b (bytes 0-31
// the PC's pictures of control bytes). Box drawing, shades and blocks reach the cell's edges, so
// they join from cell to cell.
#pragma once

#include <cstdint>

struct ConsoleFont {
  int width;              // pixels a cell, across
  int height;             // pixels a cell, down
  const uint8_t* glyphs;  // 256 glyphs, one after another

  int row_bytes() const { return (width + 7) / 8; }
  const uint8_t* glyph(uint8_t character) const {
    return glyphs + static_cast<int>(character) * height * row_bytes();
  }
  // Whether pixel (x, y) of the glyph is set; x from the left, y from the top.
  bool pixel(uint8_t character, int x, int y) const {
    const uint8_t* row = glyph(character) + y * row_bytes();
    return ((row[x / 8] >> (7 - x % 8)) & 1) != 0;
  }
};

// The sizes, smallest first.
constexpr int kConsoleFontCount = 9;
extern const ConsoleFont kConsoleFonts[kConsoleFontCount];

// The font (an index into kConsoleFonts) whose 80 x 25 cells show largest in output_w x output_h
// pixels at the largest whole multiple that fits, by the pictures' place_picture rule; of two
// that show equally large, the larger font (fewer pixels enlarged). The smallest font when none
// fits even once: the edition then shrinks it.
int console_font_for(int output_w, int output_h);
