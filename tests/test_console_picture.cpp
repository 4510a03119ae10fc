// The console picture: glyphs against the font's own files, joins across cells, the choice of a
// size, and cell-by-cell redraws against whole ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "services/console/console.h"
#include "services/console/console_font.h"
#include "services/console/console_picture.h"
#include "services/console/headless_console.h"

namespace {

// The tool's text dump of the font package's files: "font W H", then per glyph "glyph B" and its
// rows of '.' and '#'. Empty when the tool or the package is missing.
std::string font_package_dump() {
  const std::string command =
      std::string("python3 ") + ZORVAN_SOURCE_DIR + "/tools/make_console_font.py --dump";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  if (pipe == nullptr) return text;
  char buffer[65536];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) text.append(buffer, count);
  return text;
}

// The picture of a console that holds `character` in white on black in its top-left cell.
ConsolePicture picture_of_one(int font, uint8_t character) {
  ConsoleState state;
  state.cells[0][0] = ConsoleCell{character, kWhite};
  ConsolePicture picture;
  picture.set_font(font);
  picture.update(state, false);
  return picture;
}

// The picture of a console whose first cells hold the bytes 0 to 255 in turn, white on black:
// byte b in column b % 80 + 1, row b / 80 + 1.
ConsolePicture picture_of_all(int font) {
  ConsoleState state;
  for (int code = 0; code < 256; ++code) {
    state.cells[code / kConsoleColumns][code % kConsoleColumns] =
        ConsoleCell{static_cast<uint8_t>(code), kWhite};
  }
  ConsolePicture picture;
  picture.set_font(font);
  picture.update(state, false);
  return picture;
}

bool ink(const ConsolePicture& picture, int x, int y) {
  return picture.pixels()[static_cast<std::size_t>(y) * picture.width() + x] == kWhite;
}

// Each glyph of every size drawn into a cell equals the font package's bitmap of that byte
// (bytes 14 and 21, which the package lacks, are stand-ins).
TEST(ConsolePicture, EveryGlyphOfEverySizeIsTheFontPackages) {
  std::istringstream dump(font_package_dump());
  std::string word;
  int fonts = 0;
  while (dump >> word) {
    ASSERT_EQ(word, "font");
    int width = 0, height = 0;
    dump >> width >> height;
    ASSERT_LT(fonts, kConsoleFontCount);
    ASSERT_EQ(kConsoleFonts[fonts].width, width);
    ASSERT_EQ(kConsoleFonts[fonts].height, height);
    const ConsolePicture picture = picture_of_all(fonts);
    for (int code = 0; code < 256; ++code) {
      int number = -1;
      dump >> word >> number;
      ASSERT_EQ(number, code);
      const int left = code % kConsoleColumns * width, top = code / kConsoleColumns * height;
      for (int y = 0; y < height; ++y) {
        std::string row;
        dump >> row;
        std::string drawn;
        for (int x = 0; x < width; ++x) drawn += ink(picture, left + x, top + y) ? '#' : '.';
        ASSERT_EQ(drawn, row) << width << "x" << height << " glyph " << code << " row " << y;
      }
    }
    ++fonts;
  }
  EXPECT_EQ(fonts, kConsoleFontCount) << "the font package's files could not be read";
}

// Lines and blocks reach their cell's edges at the same places on both sides, so that a row of
// them is one unbroken line: horizontal ones at the left and right edges, vertical ones at the top
// and bottom, the full block everywhere.
TEST(ConsolePicture, BoxDrawingAndBlocksJoinFromCellToCell) {
  const uint8_t horizontal[] = {196, 205, 197, 206, 194, 203, 193, 202};  // ─ ═ ┼ ╬ ┬ ╦ ┴ ╩
  const uint8_t vertical[] = {179, 186, 197, 206, 180, 185, 195, 204};    // │ ║ ┼ ╬ ┤ ╣ ├ ╠
  for (int font = 0; font < kConsoleFontCount; ++font) {
    const int w = kConsoleFonts[font].width, h = kConsoleFonts[font].height;
    for (const uint8_t c : horizontal) {
      const ConsolePicture p = picture_of_one(font, c);
      int crossings = 0;
      for (int y = 0; y < h; ++y) {
        EXPECT_EQ(ink(p, 0, y), ink(p, w - 1, y)) << w << "x" << h << " byte " << int{c};
        crossings += ink(p, 0, y) ? 1 : 0;
      }
      EXPECT_GT(crossings, 0) << w << "x" << h << " byte " << int{c};
    }
    for (const uint8_t c : vertical) {
      const ConsolePicture p = picture_of_one(font, c);
      int crossings = 0;
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(ink(p, x, 0), ink(p, x, h - 1)) << w << "x" << h << " byte " << int{c};
        crossings += ink(p, x, 0) ? 1 : 0;
      }
      EXPECT_GT(crossings, 0) << w << "x" << h << " byte " << int{c};
    }
    const ConsolePicture full = picture_of_one(font, 219);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) ASSERT_TRUE(ink(full, x, y)) << w << "x" << h;
    }
  }
}

// The size shown is the largest that fits at a whole multiple; the larger font wins a tie.
TEST(ConsolePicture, FontChosenShowsLargestCrispInTheSpace) {
  struct Case {
    int w, h, font_width, font_height;
  };
  const Case cases[] = {
      {640, 480, 8, 16},     // 640 x 400; 8x14 would be as wide
      {1366, 705, 8, 14},    // twice 640 x 350, wider than 14x28's 1120 x 700 (1366x768)
      {1920, 1050, 8, 14},   // three times 640 x 350: the whole width
      {1920, 1000, 10, 20},  // twice 800 x 500, wider than 16x32's 1280 x 800
      {479, 300, 6, 12},     // nothing fits: the smallest, to be shrunk
      {2560, 1600, 16, 32},  // twice 1280 x 800
  };
  for (const Case& c : cases) {
    const ConsoleFont& font = kConsoleFonts[console_font_for(c.w, c.h)];
    EXPECT_EQ(font.width, c.font_width) << c.w << "x" << c.h;
    EXPECT_EQ(font.height, c.font_height) << c.w << "x" << c.h;
  }
}

// A picture kept up to date by updates, copying only the boxes each update names into a second
// frame, equals a picture drawn whole from the same state, after every step of random console
// work (writes, scrolls, windows, colours, the cursor blinking).
TEST(ConsolePicture, ChangedCellsRedrawnEqualAWholeRedraw) {
  const HeadlessConsole console;
  std::mt19937 random(852);
  for (const int font : {0, 5}) {
    reset_console();
    ConsolePicture kept;
    kept.set_font(font);
    std::vector<uint8_t> shown(static_cast<std::size_t>(kept.width()) * kept.height(), 0xFF);
    for (int step = 0; step < 200; ++step) {
      switch (random() % 6) {
        case 0: write_text(std::string(random() % 90, static_cast<char>(random() % 256))); break;
        case 1: write_line(); break;
        case 2: console_window(1 + random() % 10, 1 + random() % 10, 40 + random() % 41,
                               15 + random() % 11); break;
        case 3: goto_xy(1 + random() % 40, 1 + random() % 15); break;
        case 4: random() % 2 ? set_bright_text() : reset_text_attributes(); break;
        default: clear_window(); break;
      }
      const bool cursor = random() % 2 == 0;
      for (const SurfaceBox& box : kept.update(console_state(), cursor)) {
        for (int y = box.y1; y <= box.y2; ++y) {
          for (int x = box.x1; x <= box.x2; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kept.width() + x;
            shown[i] = kept.pixels()[i];
          }
        }
      }
      ConsolePicture whole;
      whole.set_font(font);
      whole.update(console_state(), cursor);
      ASSERT_EQ(shown, std::vector<uint8_t>(whole.pixels(), whole.pixels() + shown.size()))
          << "font " << font << " step " << step;
    }
  }
}

// The cursor is an underline in its cell's foreground colour that blinks, and nothing changes
// when nothing did.
TEST(ConsolePicture, CursorUnderlinesItsCellAndAnUnchangedConsoleGivesNoBoxes) {
  ConsoleState state;
  state.cursor_column = 3;
  state.cursor_row = 2;
  ConsolePicture picture;
  picture.set_font(2);  // 8x16
  picture.update(state, true);
  const int w = picture.width();
  EXPECT_EQ(picture.pixels()[(2 * 16 - 1) * w + 2 * 8], kLightGrey);   // bottom row of (3, 2)
  EXPECT_EQ(picture.pixels()[(2 * 16 - 2) * w + 3 * 8 - 1], kLightGrey);
  EXPECT_EQ(picture.pixels()[(2 * 16 - 3) * w + 2 * 8], 0);            // above the underline
  EXPECT_TRUE(picture.update(state, true).no_boxes());
  const ChangedRegion blink = picture.update(state, false);
  ASSERT_EQ(blink.box_count(), 1);
  EXPECT_EQ(blink.begin()->x1, 16);
  EXPECT_EQ(blink.begin()->y2, 31);
  EXPECT_EQ(picture.pixels()[(2 * 16 - 1) * w + 2 * 8], 0);
  EXPECT_TRUE(cursor_shown_at(HostTime{}));
  EXPECT_FALSE(cursor_shown_at(std::chrono::milliseconds(kCursorBlinkMs)));
}

}  // namespace
