// Pixel rules of the drawing surface, checked exactly on tiny surfaces, and the process-wide
// wrapper of graphics.cpp (open, close, results). Pictures are compared as text art: '.' is
// colour 0, '#' any other colour unless a test says otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "services/graphics/font8x8.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"

namespace {

Surface fresh(int width, int height) {
  Surface surface;
  surface.open(width, height);
  return surface;
}

// The whole surface as rows of '.' (colour 0) and '#' (anything else), one '\n' after each row.
std::string art(const Surface& s) {
  std::string out;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) out += s.pixels()[y * s.width() + x] ? '#' : '.';
    out += '\n';
  }
  return out;
}

std::string rows(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += std::string(line) + '\n';
  return out;
}

int count_colour(const Surface& s, uint8_t colour) {
  int count = 0;
  for (int i = 0; i < s.width() * s.height(); ++i) count += s.pixels()[i] == colour;
  return count;
}

uint16_t image_pixel(const std::vector<uint8_t>& image, int index) {
  uint16_t colour;
  std::memcpy(&colour, &image[12 + 2 * index], sizeof colour);
  return colour;
}

// A small deterministic generator for the randomised cases.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  int below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((static_cast<uint64_t>(state_ >> 8) * static_cast<uint64_t>(n)) >> 24);
  }
  int between(int low, int high) { return low + below(high - low + 1); }

 private:
  uint32_t state_;
};

// A surface whose every pixel has a colour of its own neighbourhood: vertical stripes of 1..6
// crossed by every fifth row in 9, so that a drawing in any colour changes pixels somewhere.
Surface striped(int width, int height) {
  Surface s = fresh(width, height);
  for (int x = 0; x < width; ++x) {
    s.set_fill(FillPattern::Solid, 1 + x % 6);
    s.fill_bar(x, 0, x, height - 1);
  }
  s.set_fill(FillPattern::Solid, 9);
  for (int y = 0; y < height; y += 5) s.fill_bar(0, y, width - 1, y);
  return s;
}

std::vector<uint8_t> pixels_of(const Surface& s) {
  return {s.pixels(), s.pixels() + s.width() * s.height()};
}

bool covered(const ChangedRegion& region, int x, int y) {
  for (const SurfaceBox& box : region) {
    if (x >= box.x1 && x <= box.x2 && y >= box.y1 && y <= box.y2) return true;
  }
  return false;
}

int64_t region_area(const ChangedRegion& region) {
  int64_t area = 0;
  for (const SurfaceBox& box : region) area += box.area();
  return area;
}

}  // namespace

// ---- Bars -------------------------------------------------------------------------------------

TEST(SurfaceBar, CornersInEitherOrderFillTheSameInclusiveRectangle) {
  Surface a = fresh(16, 24), b = fresh(16, 24);
  a.set_fill(FillPattern::Solid, 4);
  b.set_fill(FillPattern::Solid, 4);
  // The line thickness plays no part in a bar.
  a.set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
  a.fill_bar(10, 20, 5, 15);
  b.fill_bar(5, 15, 10, 20);
  EXPECT_EQ(art(a), art(b));
  EXPECT_EQ(count_colour(a, 4), 36);
  EXPECT_EQ(a.get_pixel(5, 15), 4);
  EXPECT_EQ(a.get_pixel(10, 20), 4);
}

TEST(SurfaceBar, EmptyPatternPaintsBackgroundWhateverFillColour) {
  Surface s = fresh(8, 8);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(0, 0, 7, 7);
  s.set_fill(FillPattern::Empty, 14);
  s.fill_bar(2, 2, 5, 5);
  EXPECT_EQ(count_colour(s, 0), 16);
  EXPECT_EQ(count_colour(s, 4), 48);
}

// ---- Rectangles and lines ---------------------------------------------------------------------

TEST(SurfaceRectangle, OutlineSetsEachOfTheFourCPixelsOnce) {
  constexpr int c = 6;
  Surface s = fresh(c + 3, c + 3);
  s.draw_rectangle(0, 0, c, c);
  EXPECT_EQ(count_colour(s, 15), 4 * c);
  for (int i = 0; i <= c; ++i) {
    EXPECT_EQ(s.get_pixel(i, 0), 15);
    EXPECT_EQ(s.get_pixel(i, c), 15);
    EXPECT_EQ(s.get_pixel(0, i), 15);
    EXPECT_EQ(s.get_pixel(c, i), 15);
  }
  // The four lines the outline is made of are disjoint: their sizes add up to the outline.
  const int lines[4][4] = {{0, 0, c - 1, 0}, {0, 1, 0, c}, {c, 0, c, c - 1}, {1, c, c, c}};
  int total = 0;
  for (const auto& line : lines) {
    Surface one = fresh(c + 3, c + 3);
    one.draw_line(line[0], line[1], line[2], line[3]);
    total += count_colour(one, 15);
  }
  EXPECT_EQ(total, 4 * c);
}

TEST(SurfaceRectangle, OnePixelHighOrWideRectangleIsASingleLine) {
  Surface s = fresh(8, 8);
  s.draw_rectangle(3, 3, 3, 3);
  EXPECT_EQ(count_colour(s, 15), 1);
  s.draw_rectangle(6, 5, 2, 5);
  EXPECT_EQ(count_colour(s, 15), 1 + 5);
}

TEST(SurfaceRectangle, ThickOutlineIsFourThickLines) {
  Surface s = fresh(12, 10);
  s.set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
  s.draw_rectangle(2, 2, 8, 6);
  EXPECT_EQ(art(s), rows({"............",
                          "..######....",
                          "..########..",
                          ".#########..",
                          ".###...###..",
                          ".#########..",
                          ".########...",
                          "...######...",
                          "............",
                          "............"}));
}

TEST(SurfaceLine, VerticalLineIncludesBothEndPoints) {
  Surface s = fresh(5, 7);
  s.draw_line(2, 5, 2, 1);
  EXPECT_EQ(art(s), rows({".....", "..#..", "..#..", "..#..", "..#..", "..#..", "....."}));
}

TEST(SurfaceLine, ShallowLineFollowsTheDecisionRuleFromTheFirstPoint) {
  Surface s = fresh(6, 3);
  s.draw_line(0, 0, 5, 2);
  EXPECT_EQ(art(s), rows({"##....", "..##..", "....##"}));
  // d = 0 at the start steps diagonally at once, so the direction chooses the pixels.
  Surface forward = fresh(5, 3), backward = fresh(5, 3);
  forward.draw_line(0, 0, 4, 2);
  backward.draw_line(4, 2, 0, 0);
  EXPECT_EQ(art(forward), rows({"#....", ".##..", "...##"}));
  EXPECT_EQ(art(backward), rows({"##...", "..##.", "....#"}));
}

TEST(SurfaceLine, SteepLineStepsAlongY) {
  Surface s = fresh(3, 6);
  s.draw_line(0, 0, 2, 5);
  EXPECT_EQ(art(s), rows({"#..", "#..", ".#.", ".#.", "..#", "..#"}));
}

TEST(SurfaceLine, ThickLinesAddNeighboursAcrossTheSlowerDirection) {
  Surface horizontal = fresh(6, 5), vertical = fresh(5, 6), shallow = fresh(6, 5),
          steep = fresh(5, 6);
  for (Surface* s : {&horizontal, &vertical, &shallow, &steep})
    s->set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
  horizontal.draw_line(4, 2, 1, 2);
  vertical.draw_line(2, 1, 2, 4);
  shallow.draw_line(1, 1, 4, 2);
  steep.draw_line(1, 1, 2, 4);
  EXPECT_EQ(art(horizontal), rows({"......", ".####.", ".####.", ".####.", "......"}));
  EXPECT_EQ(art(vertical), rows({".....", ".###.", ".###.", ".###.", ".###.", "....."}));
  EXPECT_EQ(art(shallow), rows({".##...", ".####.", ".####.", "...##.", "......"}));
  EXPECT_EQ(art(steep), rows({".....", "###..", "###..", ".###.", ".###.", "....."}));
}

// A thick line whose middle runs just outside the clip box still reaches into it by one row or
// column; one a pixel further out does not.
TEST(SurfaceLine, ThickLineJustOutsideTheClipBoxReachesIntoIt) {
  Surface s = fresh(8, 8);
  s.set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
  s.set_viewport(2, 2, 5, 5, Clipping::On);
  s.draw_line(-2, -1, 9, -1);  // rows 0..2 of the surface: row 2 is inside
  s.draw_line(4, -2, 4, 9);    // columns 5..7: column 5 is inside
  s.draw_line(-2, 5, 9, 5);    // rows 6..8: all outside
  s.draw_line(-2, -2, -2, 9);  // columns -1..1: all outside
  EXPECT_EQ(art(s), rows({"........", "........", "..####..", ".....#..", ".....#..", ".....#..",
                          "........", "........"}));
}

// ---- Arcs -------------------------------------------------------------------------------------

TEST(SurfaceArc, SmallCircleHasTheRoundedPixels) {
  Surface s = fresh(5, 5);
  s.draw_arc(2, 2, 0, 360, 2);
  EXPECT_EQ(art(s), rows({".###.", "#...#", "#...#", "#...#", ".###."}));
}

TEST(SurfaceArc, ReversedAnglesDrawTheLeftHalf) {
  Surface a = fresh(40, 40), b = fresh(40, 40);
  a.draw_arc(20, 20, 270, 90, 8);
  b.draw_arc(20, 20, 90, 270, 8);
  EXPECT_EQ(art(a), art(b));
  EXPECT_EQ(a.get_pixel(12, 20), 15);
  EXPECT_EQ(a.get_pixel(20, 12), 15);
  EXPECT_EQ(a.get_pixel(20, 28), 15);
  for (int y = 0; y < 40; ++y) {
    for (int x = 21; x < 40; ++x) EXPECT_EQ(a.get_pixel(x, y), 0) << x << "," << y;
  }
}

TEST(SurfaceArc, AnglesAreTakenModulo361) {
  Surface s = fresh(5, 5);
  s.draw_arc(2, 2, 361, 0, 2);  // 0..0: only the pixel at angle 0
  EXPECT_EQ(art(s), rows({".....", ".....", "....#", ".....", "....."}));
}

TEST(SurfaceArc, RadiusZeroOrOneSetsOnlyTheCentre) {
  for (const uint16_t radius : std::initializer_list<uint16_t>{0, 1}) {
    Surface s = fresh(5, 5);
    s.draw_arc(2, 2, 0, 360, radius);
    EXPECT_EQ(art(s), rows({".....", ".....", "..#..", ".....", "....."})) << radius;
  }
}

TEST(SurfaceArc, HalfCircleClosedByALineHoldsAFloodFill) {
  Surface s = fresh(40, 40);
  s.draw_arc(20, 20, 90, 270, 12);
  s.draw_line(20, 8, 20, 32);
  s.set_fill(FillPattern::Solid, 4);
  s.flood_fill(14, 20, 15);
  EXPECT_GT(count_colour(s, 4), 150);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (s.get_pixel(x, y) != 4) continue;
      EXPECT_LT(x, 20);
      EXPECT_LE(std::hypot(x - 20, y - 20), 12.0) << x << "," << y;
    }
  }
}

// ---- Flood fill -------------------------------------------------------------------------------

TEST(SurfaceFloodFill, SeedOutsideTheViewportDoesNothing) {
  Surface s = fresh(20, 20);
  s.set_viewport(5, 5, 14, 14, Clipping::Off);
  s.set_fill(FillPattern::Solid, 4);
  s.flood_fill(-1, 3, 15);
  s.flood_fill(3, 10, 15);
  EXPECT_EQ(count_colour(s, 4), 0);
}

TEST(SurfaceFloodFill, StaysInsideTheViewportEvenWithClippingOff) {
  Surface s = fresh(10, 10);
  s.set_viewport(2, 2, 7, 7, Clipping::Off);
  s.set_fill(FillPattern::Solid, 4);
  s.flood_fill(0, 0, 15);
  EXPECT_EQ(count_colour(s, 4), 36);
  EXPECT_EQ(s.get_pixel(2, 2), 4);
  EXPECT_EQ(s.get_pixel(7, 7), 4);
}

TEST(SurfaceFloodFill, StopsOnlyAtTheBorderColour) {
  Surface s = fresh(12, 12);
  s.draw_rectangle(0, 0, 11, 11);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(5, 1, 5, 10);  // a wall in another colour
  s.set_fill(FillPattern::Solid, 2);
  s.fill_bar(8, 3, 9, 4);   // pixels already in the fill colour
  s.flood_fill(2, 2, 15);
  EXPECT_EQ(count_colour(s, 2), 100);
  EXPECT_EQ(count_colour(s, 15), 44);
}

TEST(SurfaceFloodFill, FillInTheBorderColourEnds) {
  Surface s = fresh(12, 12);
  s.draw_rectangle(0, 0, 11, 11);
  s.set_fill(FillPattern::Solid, 15);
  s.flood_fill(4, 4, 15);
  EXPECT_EQ(count_colour(s, 15), 144);
}

TEST(SurfaceFloodFill, BorderIsComparedAsThePixelReadsBack) {
  Surface s = fresh(10, 4);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(0, 0, 9, 3);
  s.set_fill(FillPattern::Solid, 255);  // black, reads back as 0
  s.fill_bar(5, 0, 5, 3);
  s.set_fill(FillPattern::Solid, 2);
  s.flood_fill(1, 1, 0);
  EXPECT_EQ(count_colour(s, 2), 20);
  EXPECT_EQ(s.get_pixel(6, 1), 4);
}

// ---- Text -------------------------------------------------------------------------------------

TEST(SurfaceText, GlyphPixelsTakeTheDrawingColourAndOthersStay) {
  Surface s = fresh(12, 12);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(0, 0, 11, 11);
  s.draw_text(2, 3, "A");  // left / top justification after opening
  std::string glyph;
  for (int y = 3; y < 11; ++y) {
    for (int x = 2; x < 10; ++x) glyph += s.get_pixel(x, y) == 15 ? '#' : '.';
    glyph += '\n';
  }
  EXPECT_EQ(glyph, rows({"..##....", ".####...", "##..##..", "##..##..", "######..", "##..##..",
                         "##..##..", "........"}));
  EXPECT_EQ(count_colour(s, 4) + count_colour(s, 15), 144);
}

TEST(SurfaceText, JustificationMovesTheTopLeftCorner) {
  Surface s = fresh(24, 16);
  s.set_text_justify(HorizontalJustify::Right, VerticalJustify::Bottom);
  s.draw_text(16, 8, "A");  // corner at (8, 0)
  EXPECT_EQ(s.get_pixel(10, 0), 15);
  EXPECT_EQ(s.get_pixel(8, 2), 15);
  s.set_text_justify(HorizontalJustify::Center, VerticalJustify::Middle);
  s.draw_text(12, 12, "A");  // corner at (8, 8)
  EXPECT_EQ(s.get_pixel(10, 8), 15);
}

TEST(SurfaceText, CentredTitleStartingLeftOfTheViewportIsNotDrawnAtAll) {
  Surface s = fresh(40, 10);
  s.set_text_justify(HorizontalJustify::Center, VerticalJustify::Top);
  s.draw_text(15, 0, "ABCD");  // would start at x = -1
  EXPECT_EQ(count_colour(s, 15), 0);
  s.draw_text(16, 0, "ABCD");
  EXPECT_GT(count_colour(s, 15), 0);
}

TEST(SurfaceText, CornerBeyondTheViewportDrawsNothingElseClips) {
  Surface s = fresh(30, 10);
  s.set_viewport(0, 0, 9, 9, Clipping::Off);
  s.draw_text(10, 0, "A");  // corner beyond the viewport's width, even with clipping off
  EXPECT_EQ(count_colour(s, 15), 0);
  s.set_viewport(0, 0, 9, 9, Clipping::On);
  s.draw_text(9, 0, "A");   // only the glyph's first column is inside
  EXPECT_EQ(count_colour(s, 15), 5);
  EXPECT_EQ(s.get_pixel(9, 2), 15);
}

// Texts drawn at and across every edge of the viewport and of the surface, with clipping on and
// off, in every justification, against the rule computed from the glyph table pixel by pixel.
// Glyphs wholly inside take the row-at-a-time path, the others the clipped one.
TEST(SurfaceText, EveryPositionAtTheEdgesMatchesTheGlyphTable) {
  const std::string text = "\xDB" "A\x01g";  // full block, letter, smiley, descender
  struct View {
    int x1, y1, x2, y2;
    bool clip;
  };
  for (const View view : {View{0, 0, 39, 29, true}, View{6, 5, 30, 21, true},
                          View{6, 5, 30, 21, false}, View{20, 14, 39, 29, true}}) {
    for (int justify = 0; justify < 9; ++justify) {
      for (int y = -12; y <= 34; y += 3) {
        for (int x = -36; x <= 44; x += 5) {
          Surface s = striped(40, 30);
          s.set_viewport(view.x1, view.y1, view.x2, view.y2,
                         view.clip ? Clipping::On : Clipping::Off);
          s.set_text_justify(static_cast<HorizontalJustify>(justify % 3),
                             static_cast<VerticalJustify>(justify / 3));
          std::vector<uint8_t> expected = pixels_of(s);
          const int width = 8 * static_cast<int>(text.size());
          const int x0 = x - (justify % 3 == 0 ? 0 : justify % 3 == 1 ? width / 2 : width);
          const int y0 = y - (justify / 3 == 0 ? 8 : justify / 3 == 1 ? 4 : 0);
          const bool drawn = x0 >= 0 && y0 >= 0 && x0 <= view.x2 - view.x1 &&
                             y0 <= view.y2 - view.y1;
          const int cx1 = view.clip ? view.x1 : 0, cx2 = view.clip ? view.x2 : 39;
          const int cy1 = view.clip ? view.y1 : 0, cy2 = view.clip ? view.y2 : 29;
          for (int i = 0; drawn && i < static_cast<int>(text.size()); ++i) {
            const uint8_t* glyph = &kFont8x8[8 * static_cast<uint8_t>(text[i])];
            for (int row = 0; row < 8; ++row) {
              for (int col = 0; col < 8; ++col) {
                const int px = view.x1 + x0 + 8 * i + col, py = view.y1 + y0 + row;
                if ((glyph[row] & (0x80 >> col)) && px >= cx1 && px <= cx2 && py >= cy1 &&
                    py <= cy2) {
                  expected[py * 40 + px] = 15;
                }
              }
            }
          }
          s.draw_text(x, y, text);
          ASSERT_TRUE(pixels_of(s) == expected)
              << "at " << x << "," << y << " justified " << justify << " in the viewport to "
              << view.x2 << (view.clip ? " clipped" : "");
        }
      }
    }
  }
}

// ---- Images -----------------------------------------------------------------------------------

TEST(SurfaceImage, SizeCountsTwoBytesAPixelAndTheHeader) {
  EXPECT_EQ(Surface::image_size(0, 0, 19, 19), 812);
  EXPECT_EQ(Surface::image_size(19, 19, 0, 0), 812);
  EXPECT_EQ(Surface::image_size(5, 5, 5, 5), 14);
}

TEST(SurfaceImage, GetThenPutElsewhereReproducesTheRectangle) {
  Surface s = fresh(30, 20);
  s.draw_line(0, 0, 5, 4);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(3, 0, 5, 1);
  std::vector<uint8_t> image(static_cast<size_t>(Surface::image_size(0, 0, 5, 4)));
  s.get_image(0, 0, 5, 4, image.data());
  int32_t header[3];
  std::memcpy(header, image.data(), sizeof header);
  EXPECT_EQ(header[0], 6);
  EXPECT_EQ(header[1], 5);
  EXPECT_EQ(header[2], 0);
  EXPECT_EQ(image_pixel(image, 0), 15);
  EXPECT_EQ(image_pixel(image, 3), 4);
  s.put_image(20, 12, image.data(), PutMode::Copy);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(s.get_pixel(20 + x, 12 + y), s.get_pixel(x, y));
  }
}

TEST(SurfaceImage, ReadsBackTheLowestIndexOfEachColour) {
  Surface s = fresh(4, 1);
  const int colours[4] = {255, 31, 16, 8};
  for (int x = 0; x < 4; ++x) {
    s.set_fill(FillPattern::Solid, colours[x]);
    s.fill_bar(x, 0, x, 0);
  }
  EXPECT_EQ(s.get_pixel(0, 0), 0);
  EXPECT_EQ(s.get_pixel(1, 0), 15);
  EXPECT_EQ(s.get_pixel(2, 0), 0);
  EXPECT_EQ(s.get_pixel(3, 0), 8);
  std::vector<uint8_t> image(static_cast<size_t>(Surface::image_size(-2, 0, 3, 0)));
  s.get_image(-2, 0, 3, 0, image.data());  // two pixels off the surface read as 0
  const uint16_t expected[6] = {0, 0, 0, 15, 0, 8};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(image_pixel(image, i), expected[i]) << i;
}

// A rectangle starting right of the surface once made get_image clear memory far beyond the
// buffer.
TEST(SurfaceImage, RectangleRightOfOrBelowTheSurfaceReadsAsZeros) {
  Surface s = fresh(6, 4);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(0, 0, 5, 3);
  for (const auto& [x1, y1] : {std::pair{8, 0}, std::pair{6, 1}, std::pair{0, 5}}) {
    const auto size = static_cast<size_t>(Surface::image_size(x1, y1, x1 + 2, y1 + 2));
    std::vector<uint8_t> image(size + 8, 0xEE);
    s.get_image(x1, y1, x1 + 2, y1 + 2, image.data());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(image_pixel(image, i), 0) << x1 << "," << y1;
    for (size_t i = image.size() - 8; i < image.size(); ++i) EXPECT_EQ(image[i], 0xEE);
  }
}

TEST(SurfaceImage, PutIsClippedToTheViewportAndAlwaysToTheSurface) {
  Surface source = fresh(4, 4);
  source.set_fill(FillPattern::Solid, 4);
  source.fill_bar(0, 0, 3, 3);
  std::vector<uint8_t> image(static_cast<size_t>(Surface::image_size(0, 0, 3, 3)));
  source.get_image(0, 0, 3, 3, image.data());

  Surface s = fresh(8, 8);
  s.set_viewport(2, 2, 5, 5, Clipping::On);
  s.put_image(-1, 2, image.data(), PutMode::Copy);  // columns 1..4, rows 4..7 before clipping
  EXPECT_EQ(count_colour(s, 4), 3 * 2);
  s.set_viewport(2, 2, 5, 5, Clipping::Off);
  s.put_image(-4, -4, image.data(), PutMode::Copy);  // rows and columns -2..1
  EXPECT_EQ(count_colour(s, 4), 6 + 4);
  EXPECT_EQ(s.get_pixel(0, 0), 4);
}

TEST(SurfaceImage, MoveGivesThePixelsOfGetThenPut) {
  Lcg random(7);
  for (int trial = 0; trial < 400; ++trial) {
    SCOPED_TRACE(trial);
    Surface a = fresh(23, 17);
    for (int y = 0; y < 17; ++y) {
      for (int x = 0; x < 23; ++x) {
        a.set_fill(FillPattern::Solid, random.below(256));
        a.fill_bar(x, y, x, y);
      }
    }
    if (trial % 3 != 0) {
      const int x1 = random.below(12), y1 = random.below(8);
      a.set_viewport(x1, y1, x1 + random.below(11), y1 + random.below(9),
                     trial % 3 == 1 ? Clipping::On : Clipping::Off);
    }
    Surface b = a;
    // Half the cases move by a few pixels, so that source and destination overlap.
    const int x1 = random.between(-4, 24), y1 = random.between(-4, 18);
    const int x2 = random.between(-4, 24), y2 = random.between(-4, 18);
    const bool near = trial % 2 == 0;
    const int x = near ? std::min(x1, x2) + random.between(-3, 3) : random.between(-10, 24);
    const int y = near ? std::min(y1, y2) + random.between(-3, 3) : random.between(-10, 18);
    std::vector<uint8_t> image(static_cast<size_t>(Surface::image_size(x1, y1, x2, y2)));
    a.get_image(x1, y1, x2, y2, image.data());
    a.put_image(x, y, image.data(), PutMode::Copy);
    b.move_region(x1, y1, x2, y2, x, y);
    for (int py = 0; py < 17; ++py) {
      for (int px = 0; px < 23; ++px) {
        ASSERT_EQ(a.get_pixel(px, py), b.get_pixel(px, py))
            << "pixel " << px << "," << py << " moving " << x1 << "," << y1 << " " << x2 << ","
            << y2 << " to " << x << "," << y;
      }
    }
  }
}

// ---- Changed region ---------------------------------------------------------------------------

TEST(SurfaceChanges, OpeningChangesAllAndTakingStartsAfresh) {
  Surface s = fresh(20, 10);
  ChangedRegion all = s.take_changes();
  ASSERT_EQ(all.box_count(), 1);
  EXPECT_EQ(all.begin()->area(), 200);
  EXPECT_TRUE(s.take_changes().no_boxes());
  s.set_viewport(2, 2, 9, 9, Clipping::On);  // state changes alone change no pixel
  s.set_fill(FillPattern::Solid, 4);
  s.set_text_justify(HorizontalJustify::Center, VerticalJustify::Middle);
  s.draw_text(0, 0, "A");  // the corner rule draws nothing
  EXPECT_TRUE(s.take_changes().no_boxes());
}

// Each operation, on a surface where any colour changes something, under three viewports: the
// region it records covers every pixel it changed, and a small operation records a small region.
TEST(SurfaceChanges, EveryOperationRecordsEachPixelItChanges) {
  std::vector<uint8_t> insect(static_cast<size_t>(Surface::image_size(0, 0, 9, 6)));
  striped(64, 48).get_image(0, 0, 9, 6, insect.data());
  struct Case {
    const char* name;
    int thickness;  // of lines, arcs and rectangles
    std::function<void(Surface&)> draw;
    bool small;
  };
  const Case cases[] = {
      {"bar", 1, [](Surface& s) { s.fill_bar(3, 20, 12, 50); }, true},
      {"patterned bar", 1,
       [](Surface& s) {
         s.set_fill(static_cast<FillPattern>(9), 2);
         s.fill_bar(-3, 5, 9, 11);
       },
       true},
      {"line", 1, [](Surface& s) { s.draw_line(60, 2, 1, 9); }, true},
      {"thick steep line", 3, [](Surface& s) { s.draw_line(0, 0, 4, 30); }, true},
      {"thick dashed line", 3,
       [](Surface& s) {
         s.set_line_style(LineStyle::Dotted, 0, LineThickness::Thick);
         s.draw_line(2, 30, 40, 30);
       },
       true},
      {"thick rectangle", 3, [](Surface& s) { s.draw_rectangle(0, 0, 9, 5); }, true},
      {"rectangle", 1, [](Surface& s) { s.draw_rectangle(50, 40, 70, 52); }, true},
      {"thick arc", 3, [](Surface& s) { s.draw_arc(6, 6, 0, 360, 7); }, true},
      {"arc", 1, [](Surface& s) { s.draw_arc(60, 20, 45, 300, 10); }, true},
      {"flood fill", 1,
       [](Surface& s) {
         s.set_fill(FillPattern::Solid, 2);
         s.flood_fill(9, 9, 9);
       },
       true},
      {"text", 1, [](Surface& s) { s.draw_text(1, 1, "Ab\xDB"); }, true},
      {"text at the edge", 1, [](Surface& s) { s.draw_text(58, 44, "\xDB\xDB"); }, true},
      {"image", 1, [&](Surface& s) { s.put_image(-4, 30, insect.data(), PutMode::Copy); }, true},
      {"move", 1, [](Surface& s) { s.move_region(10, 10, 40, 20, 7, 12); }, true},
      {"move from off", 1, [](Surface& s) { s.move_region(-5, -5, 6, 6, 58, 2); }, true},
      {"clear", 1, [](Surface& s) { s.clear_viewport(); }, false},
  };
  struct View {
    int x1, y1, x2, y2;
    bool clip;
  };
  for (const View view : {View{0, 0, 63, 47, true}, View{5, 4, 40, 30, true},
                          View{5, 4, 40, 30, false}}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (view.clip ? " clipped" : " unclipped") + " to " +
                   std::to_string(view.x2));
      Surface s = striped(64, 48);
      s.set_viewport(view.x1, view.y1, view.x2, view.y2, view.clip ? Clipping::On : Clipping::Off);
      s.set_line_style(LineStyle::Solid, 0, static_cast<LineThickness>(c.thickness));
      s.take_changes();
      const std::vector<uint8_t> before = pixels_of(s);
      c.draw(s);
      const ChangedRegion changed = s.take_changes();
      int changed_pixels = 0;
      for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
          if (before[y * 64 + x] == s.pixels()[y * 64 + x]) continue;
          ++changed_pixels;
          ASSERT_TRUE(covered(changed, x, y)) << x << "," << y;
        }
      }
      if (view.x2 == 63) {  // in the smaller viewport some fall outside
        EXPECT_GT(changed_pixels, 0);
      }
      for (const SurfaceBox& box : changed) {
        EXPECT_TRUE(box.x1 >= 0 && box.y1 >= 0 && box.x2 < 64 && box.y2 < 48);
      }
      if (c.small) {
        EXPECT_LT(region_area(changed), 64 * 48 / 4);
      }
    }
  }
}

// Boxes added at random: the region never holds more than its limit, covers every box added,
// and where boxes overlap or touch along a side it keeps one box.
TEST(SurfaceChanges, RegionStaysShortAndCoversEveryBoxAdded) {
  Lcg random(11);
  ChangedRegion region;
  std::vector<SurfaceBox> added;
  for (int i = 0; i < 300; ++i) {
    const int x = random.below(90), y = random.below(90);
    const SurfaceBox box{x, y, x + random.below(10), y + random.below(10)};
    region.add(box);
    added.push_back(box);
    ASSERT_LE(region.box_count(), ChangedRegion::kMaxBoxes);
    if (i % 50 != 49) continue;
    for (const SurfaceBox& b : added) {
      for (int py = b.y1; py <= b.y2; ++py) {
        for (int px = b.x1; px <= b.x2; ++px) ASSERT_TRUE(covered(region, px, py)) << i;
      }
    }
  }
  ChangedRegion joined;
  joined.add({0, 0, 9, 9});
  joined.add({10, 0, 19, 9});   // touches along a side
  joined.add({5, 5, 12, 12});   // overlaps: the union grows by less than this box
  joined.add({2, 2, 3, 3});     // inside
  joined.add({0, 10, 19, 12});  // fills the rest of the union
  ASSERT_EQ(joined.box_count(), 1);
  EXPECT_EQ(joined.begin()->area(), 20 * 13);
  joined.add({50, 50, 51, 51});  // far away: a box of its own
  EXPECT_EQ(joined.box_count(), 2);
  EXPECT_EQ(region_area(joined), 20 * 13 + 4);
}

// ---- Viewport, clipping and results -----------------------------------------------------------

TEST(SurfaceViewport, ViewportBeyondTheSurfaceIsIgnored) {
  Surface s = fresh(10, 10);
  s.set_viewport(2, 2, 5, 5, Clipping::On);
  s.set_viewport(0, 0, 10, 9, Clipping::On);
  EXPECT_EQ(s.take_result(), kGraphInvalidArgument);
  s.set_viewport(3, 6, 5, 5, Clipping::On);
  EXPECT_EQ(s.take_result(), kGraphInvalidArgument);
  EXPECT_EQ(s.state().view_x1, 2);
  EXPECT_EQ(s.state().view_x2, 5);
  EXPECT_EQ(s.state().view_y2, 5);
  EXPECT_EQ(s.take_result(), kGraphOk);
}

TEST(SurfaceViewport, ClippingOnKeepsPixelsInsideAndOffStillInsideTheSurface) {
  Surface s = fresh(10, 6);
  s.set_viewport(2, 2, 5, 5, Clipping::On);
  s.draw_line(-2, 1, 10, 1);
  EXPECT_EQ(art(s), rows({"..........", "..........", "..........", "..####....", "..........",
                          ".........."}));
  s.set_viewport(2, 2, 5, 5, Clipping::Off);
  s.draw_line(-2, 2, 10, 2);
  s.draw_line(-5, -5, -5, -5);  // off the surface: nothing, and no harm
  EXPECT_EQ(art(s), rows({"..........", "..........", "..........", "..####....", "##########",
                          ".........."}));
}

TEST(SurfaceViewport, ClearPaintsTheViewportInTheBackgroundColour) {
  Surface s = fresh(5, 5);
  s.set_fill(FillPattern::Solid, 4);
  s.fill_bar(0, 0, 4, 4);
  s.set_viewport(1, 1, 3, 3, Clipping::On);
  s.clear_viewport();
  EXPECT_EQ(count_colour(s, 0), 9);
  EXPECT_EQ(s.get_pixel(1, 1), 0);
  EXPECT_EQ(s.get_pixel(4, 4), 4);
}

TEST(SurfaceResult, RejectedArgumentsReportMinusElevenAndChangeNothing) {
  const std::function<void(Surface&)> rejected[] = {
      [](Surface& s) { s.set_fill(static_cast<FillPattern>(13), 4); },
      [](Surface& s) { s.set_fill(FillPattern::Solid, 256); },
      [](Surface& s) { s.set_line_style(static_cast<LineStyle>(5), 0, LineThickness::Normal); },
      [](Surface& s) { s.set_line_style(LineStyle::Solid, 0, static_cast<LineThickness>(2)); },
      [](Surface& s) {
        s.set_text_justify(static_cast<HorizontalJustify>(3), VerticalJustify::Bottom);
      },
      [](Surface& s) {
        s.set_text_justify(HorizontalJustify::Left, static_cast<VerticalJustify>(3));
      },
      [](Surface& s) { s.set_viewport(-1, 0, 3, 3, Clipping::On); },
  };
  for (const auto& call : rejected) {
    Surface s = fresh(8, 8);
    const auto fields = [](const DrawingState& d) {
      return std::tie(d.fill_pattern, d.fill_colour, d.line_style, d.line_pattern, d.thickness,
                      d.view_x1, d.view_y1, d.view_x2, d.view_y2, d.clip, d.justify_horizontal,
                      d.justify_vertical);
    };
    const DrawingState before = s.state();
    call(s);
    EXPECT_EQ(s.take_result(), kGraphInvalidArgument);
    EXPECT_EQ(fields(before), fields(s.state()));
  }
}

// ---- The process-wide surface -----------------------------------------------------------------

namespace {

class CountingPresenter : public Presenter {
 public:
  explicit CountingPresenter(bool display) : display_(display) {}
  bool open_window(int& width, int& height) override {
    ++opened;
    width = 64;
    height = 48;
    return display_;
  }
  void close_window() override { ++closed; }
  int opened = 0, closed = 0;

 private:
  bool display_;
};

int16_t driver = 0, mode = 0;

}  // namespace

TEST(SurfaceGraphics, OpenTakesThePresentersSizeAndCloseClosesItsWindow) {
  CountingPresenter presenter(true);
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  open_graphics(driver, mode, "");
  EXPECT_EQ(graph_result(), kGraphOk);
  EXPECT_EQ(get_max_x(), 63);
  EXPECT_EQ(get_max_y(), 47);
  set_viewport(0, 0, 64, 47, Clipping::On);  // x2 beyond the surface
  EXPECT_EQ(graph_result(), kGraphInvalidArgument);
  EXPECT_EQ(graph_result(), kGraphOk);  // reading the result resets it
  set_viewport(1, 1, 4, 4, Clipping::Off);
  set_fill(FillPattern::Solid, 4);
  surface_changed = false;
  fill_bar(0, 0, 1, 1);
  EXPECT_TRUE(surface_changed);
  EXPECT_EQ(get_pixel(1, 1), 4);
  open_graphics(driver, mode, "");  // every opening starts from the default state
  EXPECT_EQ(current_surface().state().view_x2, 63);
  EXPECT_EQ(current_surface().state().fill_colour, 255);
  EXPECT_EQ(get_pixel(1, 1), 0);
  close_graphics();
  EXPECT_EQ(presenter.closed, 1);
  EXPECT_THROW(fill_bar(0, 0, 1, 1), GraphicsNotOpen);
  close_graphics();
  EXPECT_EQ(graph_result(), kGraphNotOpen);
  EXPECT_EQ(presenter.closed, 1);
}

TEST(SurfaceGraphics, OpenWithoutADisplayFailsAndDrawingThenThrows) {
  CountingPresenter no_display(false);
  {
    const ScopedHost hosted([&no_display](Host& record) { record.presenter = &no_display; });
    open_graphics(driver, mode, "");
    EXPECT_EQ(graph_result(), kGraphInvalidArgument);
    EXPECT_THROW(draw_line(0, 0, 5, 5), GraphicsNotOpen);
    EXPECT_THROW(get_max_x(), GraphicsNotOpen);
  }
  open_graphics(driver, mode, "");  // no presenter at all
  EXPECT_EQ(graph_result(), kGraphInvalidArgument);
  EXPECT_EQ(text_width("abc"), 24);  // pure measures need no surface
  EXPECT_EQ(text_height("abc"), 8);
}


// A batch takes the lock once for everything drawn inside it, nested batches included; outside
// a batch each operation takes it once.
TEST(SurfaceGraphics, BatchTakesTheDrawingLockOnce) {
  CountingPresenter presenter(true);
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  open_graphics(driver, mode, "");
  uint64_t before = drawing_lock_count();
  {
    const DrawingBatch batch;
    set_fill(FillPattern::Solid, 4);
    fill_bar(0, 0, 9, 9);
    draw_text(0, 0, "x");
    EXPECT_EQ(get_max_x(), 63);
    EXPECT_EQ(graph_result(), kGraphOk);
    {
      const DrawingBatch inner;
      draw_line(0, 0, 20, 20);
    }
    move_region(0, 0, 9, 9, 20, 20);
  }
  EXPECT_EQ(drawing_lock_count() - before, 1u);
  EXPECT_EQ(get_pixel(28, 21), 4);
  before = drawing_lock_count();
  fill_bar(0, 0, 1, 1);
  draw_line(0, 0, 5, 5);
  EXPECT_EQ(drawing_lock_count() - before, 2u);
  close_graphics();
}

#ifndef NDEBUG
// Opening or closing asks the window's thread, which may be waiting for the lock the batch holds.
TEST(SurfaceGraphicsDeathTest, OpeningOrClosingInsideABatchIsAProgrammingError) {
  CountingPresenter presenter(true);
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  EXPECT_DEATH(
      {
        const DrawingBatch batch;
        open_graphics(driver, mode, "");
      },
      "inside a DrawingBatch");
  open_graphics(driver, mode, "");
  EXPECT_DEATH(
      {
        const DrawingBatch batch;
        close_graphics();
      },
      "inside a DrawingBatch");
  close_graphics();
}
#endif
