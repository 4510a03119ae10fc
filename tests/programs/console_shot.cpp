// Compares a screenshot of a program's window with the core's console picture of a checkpoint
// that script_run wrote: the picture in the font that the window's size chooses, placed as the
// window places it (centred, at the largest whole multiple), black around it. The cursor may be
// in either phase of its blink, and the page prompt's spinner (just left of the cursor on row 25)
// in any of its four shapes, since a screenshot catches them at any moment.
//
//   console_shot <checkpoint> <screenshot.ppm>
//
// <checkpoint> is the path without extension: <checkpoint>.console (25 x 80 cells) and
// <checkpoint>.cursor ("column row"). The screenshot is a binary PPM (P6) of the window's inside.
// Exit code 0 when the screenshot is one of the pictures, 1 when not (with the first pixel that
// differs from the nearest one), 2 on unreadable input.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "services/console/console.h"
#include "services/console/console_font.h"
#include "services/console/console_picture.h"
#include "services/graphics/picture.h"
#include "services/graphics/surface.h"

namespace {

struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "console_shot: %s\n", message.c_str());
  std::exit(2);
}

Screenshot read_ppm(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  Screenshot shot;
  int depth = 0;
  in >> magic >> shot.width >> shot.height >> depth;
  in.get();
  if (!in || magic != "P6" || depth != 255) fail(std::string("not a P6 picture: ") + path);
  shot.rgb.resize(static_cast<std::size_t>(shot.width) * shot.height * 3);
  in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
  if (!in) fail(std::string("short picture: ") + path);
  return shot;
}

ConsoleState read_checkpoint(const std::string& path) {
  ConsoleState state;
  std::ifstream cells(path + ".console", std::ios::binary);
  cells.read(reinterpret_cast<char*>(&state.cells[0][0]), sizeof state.cells);
  std::ifstream cursor(path + ".cursor");
  cursor >> state.cursor_column >> state.cursor_row;
  if (!cells || !cursor) fail("cannot read the checkpoint " + path);
  return state;
}

// The first pixel of `shot` that differs from the console picture of `state` placed in it, as
// "x,y", or empty when none does.
std::string first_difference(const Screenshot& shot, const ConsoleState& state, bool cursor) {
  ConsolePicture picture;
  picture.set_font(console_font_for(shot.width, shot.height));
  picture.update(state, cursor);
  const Placement place = place_picture(picture.width(), picture.height(), shot.width, shot.height);
  const int multiple = place.target.w / picture.width();
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const int px = x - place.target.x, py = y - place.target.y;
      const bool inside = px >= 0 && py >= 0 && px < place.target.w && py < place.target.h;
      const uint8_t index =
          inside ? picture.pixels()[static_cast<std::size_t>(py / multiple) * picture.width() +
                                    px / multiple]
                 : 0;
      const uint32_t rgb = kPalette[index];
      const uint8_t* shown = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
      if (shown[0] != (rgb >> 16 & 0xFF) || shown[1] != (rgb >> 8 & 0xFF) ||
          shown[2] != (rgb & 0xFF)) {
        return std::to_string(x) + "," + std::to_string(y);
      }
    }
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) fail("usage: console_shot <checkpoint> <screenshot.ppm>");
  const Screenshot shot = read_ppm(argv[2]);
  ConsoleState state = read_checkpoint(argv[1]);
  // The spinner stands just left of the cursor at the page prompt, on the last row.
  ConsoleCell no_spinner;
  const bool at_prompt = state.cursor_row == kConsoleRows && state.cursor_column >= 2 &&
                         state.cursor_column <= kConsoleColumns + 1;
  ConsoleCell& spinner =
      at_prompt ? state.cells[kConsoleRows - 1][state.cursor_column - 2] : no_spinner;
  const std::string shapes = std::string("-\\|/").find(static_cast<char>(spinner.character)) !=
                                     std::string::npos
                                 ? "-\\|/"
                                 : std::string(1, static_cast<char>(spinner.character));
  std::string difference;
  for (const char shape : shapes) {
    spinner.character = static_cast<uint8_t>(shape);
    for (const bool cursor : {true, false}) {
      difference = first_difference(shot, state, cursor);
      if (difference.empty()) return 0;
    }
  }
  std::printf("the screenshot differs from the console picture at %s\n", difference.c_str());
  return 1;
}
