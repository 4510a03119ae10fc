// Draws the programs' icon at build time: the insect picture of the run screen, drawn by the box
// view itself on a headless surface with one insect in a box, so that its cell is 128 pixels
// across, and written as a 128 x 128 PNG file through the palette.
//
//   make_icon OUTPUT.png
#include <cstdio>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/png_image.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"
#include "sim/box_view.h"
#include "sim/run_state.h"

namespace {

constexpr int kIconSize = 128;
// The surface whose box cell for a single insect is kIconSize across: (287 - 30) div 2.
constexpr int kSurfaceWidth = 640;
constexpr int kSurfaceHeight = 288;

// The insect picture's pixels, kIconSize square, from the top left of the surface.
std::vector<uint8_t> insect_pixels() {
  HeadlessPresenter presenter(kSurfaceWidth, kSurfaceHeight);
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  RunState run;
  run.insect_count = 1;
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  set_up_grid(run);
  prepare_box_view(run);
  std::vector<uint8_t> pixels;
  if (run.cell_size == kIconSize) {
    put_image(0, 0, run.insect_image.data(), PutMode::Copy);
    for (int y = 0; y < kIconSize; ++y) {
      for (int x = 0; x < kIconSize; ++x) pixels.push_back(get_pixel(x, y));
    }
  }
  close_graphics();
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.png\n");
    return 2;
  }
  const std::vector<uint8_t> pixels = insect_pixels();
  if (pixels.empty()) {
    std::fprintf(stderr, "make_icon: the insect picture is not %d pixels across\n", kIconSize);
    return 1;
  }
  const std::vector<uint8_t> png = encode_png(pixels.data(), kIconSize, kIconSize, kPalette);
  std::FILE* file = std::fopen(argv[1], "wb");
  const bool written =
      file != nullptr && std::fwrite(png.data(), 1, png.size(), file) == png.size();
  if (file == nullptr || std::fclose(file) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
