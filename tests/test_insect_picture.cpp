// The insect picture drawn with the surface's primitives (outline, grey fill, two triangles, the
// arc that cuts the left triangle's tip, red and green fills) must match, pixel for pixel, the
// hand-checked pictures in tests/data/insect_<c>.txt: one character a pixel, '.' black,
// 'W' white, 'g' dark grey, 'R' red, 'G' green. The pictures exercise the line, arc and flood
// fill rules together, at the smallest and the largest cell of a 640x480 surface.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/surface.h"

namespace {

// Draws the picture for cell size c in the top-left corner, as the box view prepares it, and
// returns get_image(0, 0, c - 1, c - 1) as text art.
std::string draw_insect_picture(int c) {
  Surface s;
  s.open(640, 480);
  const int h = c / 2;
  s.draw_rectangle(0, 0, c, c);
  s.set_fill(FillPattern::Solid, 8);
  s.flood_fill(h, h, 15);
  const int path[7][2] = {{h, h}, {2, 2}, {2, c - 2}, {h, h}, {c - 2, 2}, {c - 2, c - 2}, {h, h}};
  for (int i = 0; i + 1 < 7; ++i)
    s.draw_line(path[i][0], path[i][1], path[i + 1][0], path[i + 1][1]);
  s.draw_arc(c - 2, h, 90, 270, static_cast<uint16_t>(h + 1));
  s.draw_arc(2, h, 270, 90, static_cast<uint16_t>(h + 1));
  s.set_fill(FillPattern::Solid, 4);
  s.flood_fill(h / 2, h, 15);
  s.set_fill(FillPattern::Solid, 2);
  s.flood_fill(3 * h / 2, h, 15);

  std::vector<uint8_t> image(static_cast<size_t>(Surface::image_size(0, 0, c - 1, c - 1)));
  s.get_image(0, 0, c - 1, c - 1, image.data());
  std::string art;
  for (int i = 0; i < c * c; ++i) {
    uint16_t colour;
    std::memcpy(&colour, &image[12 + 2 * i], sizeof colour);
    switch (colour) {
      case 0: art += '.'; break;
      case 15: art += 'W'; break;
      case 8: art += 'g'; break;
      case 4: art += 'R'; break;
      case 2: art += 'G'; break;
      default: art += '?';
    }
    if (i % c == c - 1) art += '\n';
  }
  return art;
}

std::string read_expected(int c) {
  std::ifstream file(std::string(ZORVAN_TEST_DATA_DIR) + "/insect_" + std::to_string(c) + ".txt");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void expect_checked_picture(int c) {
  const std::string expected = read_expected(c);
  ASSERT_FALSE(expected.empty()) << "missing insect_" << c << ".txt";
  EXPECT_EQ(draw_insect_picture(c), expected);
}

}  // namespace

TEST(SurfaceInsectPicture, SmallestCellMatchesTheCheckedPicture) { expect_checked_picture(18); }

TEST(SurfaceInsectPicture, LargestCellMatchesTheCheckedPicture) { expect_checked_picture(74); }
