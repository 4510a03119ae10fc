// Reads the step number off a screenshot of the run window, as a person would: the screenshot
// (a binary PPM on standard input) shows a surface of W x H pixels scaled into the rectangle
// X, Y, PW x PH of the screen. Each surface pixel of the top band is sampled at its centre and
// counts as lit when bright; the band is searched for the status box's "T:" followed by digits,
// each cell matched against the 8x8 glyphs of the programs' own font.
//
//   read_status W H X Y PW PH < shot.ppm    prints the number; exit code 1 when none is found
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "services/graphics/font8x8.h"

namespace {

constexpr int kBand = 32;              // surface rows searched from the top
constexpr int kMismatchesAllowed = 4;  // of 64 pixels: smoothing may blur a glyph's edge

struct Screenshot {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

// The next number of a PPM header, comment lines ("# ...") skipped.
int header_number() {
  std::cin >> std::ws;
  while (std::cin.peek() == '#') {
    std::string comment;
    std::getline(std::cin, comment);
    std::cin >> std::ws;
  }
  int value = 0;
  std::cin >> value;
  return value;
}

bool read_ppm(Screenshot& shot) {
  std::string magic;
  std::cin >> magic;
  shot.width = header_number();
  shot.height = header_number();
  const int maximum = header_number();
  std::cin.get();
  if (magic != "P6" || maximum != 255 || shot.width <= 0 || shot.height <= 0) return false;
  shot.rgb.resize(static_cast<std::size_t>(shot.width) * shot.height * 3);
  std::cin.read(reinterpret_cast<char*>(shot.rgb.data()),
                static_cast<std::streamsize>(shot.rgb.size()));
  return std::cin.good();
}

struct Mapping {
  int w, h, x, y, pw, ph;
};

// Whether surface pixel (sx, sy) shows bright at its centre on the screen.
bool lit(const Screenshot& shot, const Mapping& m, int sx, int sy) {
  const int x = m.x + static_cast<int>((sx + 0.5) * m.pw / m.w);
  const int y = m.y + static_cast<int>((sy + 0.5) * m.ph / m.h);
  if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return false;
  const unsigned char* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
  return p[0] + p[1] + p[2] > 3 * 128;
}

bool glyph_at(const Screenshot& shot, const Mapping& m, int x0, int y0, unsigned char code) {
  int mismatches = 0;
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const bool set = (kFont8x8[8 * code + row] >> (7 - column)) & 1;
      if (set != lit(shot, m, x0 + column, y0 + row)) ++mismatches;
    }
  }
  return mismatches <= kMismatchesAllowed;
}

// The digits after "T:" at (x0, y0), blanks before them skipped; empty when none follow.
std::string digits_after(const Screenshot& shot, const Mapping& m, int x0, int y0) {
  std::string number;
  for (int x = x0 + 16; x + 8 <= m.w; x += 8) {
    char found = 0;
    for (char c = '0'; c <= '9' && found == 0; ++c) {
      if (glyph_at(shot, m, x, y0, static_cast<unsigned char>(c))) found = c;
    }
    if (found != 0) {
      number += found;
    } else if (!number.empty() || !glyph_at(shot, m, x, y0, ' ')) {
      break;
    }
  }
  return number;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: read_status W H X Y PW PH < shot.ppm\n");
    return 2;
  }
  Mapping m{};
  int* fields[] = {&m.w, &m.h, &m.x, &m.y, &m.pw, &m.ph};
  for (int i = 0; i < 6; ++i) *fields[i] = std::atoi(argv[i + 1]);
  Screenshot shot;
  if (m.w <= 0 || m.h <= 0 || !read_ppm(shot)) {
    std::fprintf(stderr, "read_status: no usable screenshot\n");
    return 2;
  }
  for (int y = 0; y + 8 <= kBand; ++y) {
    for (int x = 0; x + 16 <= m.w; ++x) {
      if (!glyph_at(shot, m, x, y, 'T') || !glyph_at(shot, m, x + 8, y, ':')) continue;
      const std::string number = digits_after(shot, m, x, y);
      if (number.empty()) continue;
      std::printf("%s\n", number.c_str());
      return 0;
    }
  }
  return 1;
}
