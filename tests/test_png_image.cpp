// The PNG encoder, read back by an independent decoder (zlib's inflate and checksums): the
// file's chunks and checksums are valid and the pixels come back as the palette indices given.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "png_decoder.h"
#include "services/graphics/png_image.h"
#include "services/graphics/surface.h"

using png_test::DecodedPng;
using png_test::decode;

namespace {

// A picture like the run screen's: flat areas, frames, repeated rows, and some noise.
std::vector<uint8_t> test_picture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t& p = pixels[static_cast<std::size_t>(y) * width + x];
      if (x % 37 < 3 || y % 29 == 0) p = 15;
      if (x > width / 2 && y > height / 3) p = (x / 5) % 2 ? 2 : 4;
      if (y % 53 == 7) p = static_cast<uint8_t>(random());
    }
  }
  return pixels;
}

TEST(PngImage, AnyImageDecodesToTheIndicesAndPaletteGiven) {
  struct Size {
    int width, height;
  };
  for (const Size size : {Size{1, 1}, Size{2, 3}, Size{7, 1}, Size{1, 9}, Size{300, 200},
                          Size{640, 480}}) {
    const std::vector<uint8_t> pixels = test_picture(size.width, size.height, 7);
    const DecodedPng image = decode(encode_png(pixels.data(), size.width, size.height, kPalette));
    EXPECT_EQ(image.width, size.width);
    EXPECT_EQ(image.height, size.height);
    EXPECT_EQ(image.indices, pixels) << size.width << "x" << size.height;
    ASSERT_EQ(image.palette.size(), 768u);
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(image.palette[3 * i] << 16 | image.palette[3 * i + 1] << 8 | image.palette[3 * i + 2],
                static_cast<int>(kPalette[i]));
    }
  }
}

// Random bytes leave few matches; long runs make the longest matches and distances.
TEST(PngImage, IncompressibleAndHighlyRepetitiveImagesRoundTrip) {
  std::mt19937 random(3);
  std::vector<uint8_t> noise(513 * 67);
  for (uint8_t& p : noise) p = static_cast<uint8_t>(random());
  EXPECT_EQ(decode(encode_png(noise.data(), 513, 67, kPalette)).indices, noise);

  std::vector<uint8_t> flat(1920 * 1017, 15);
  flat[1920 * 500 + 960] = 4;
  const std::vector<uint8_t> png = encode_png(flat.data(), 1920, 1017, kPalette);
  EXPECT_EQ(decode(png).indices, flat);
  EXPECT_LT(png.size(), 20000u);  // nearly two megabytes of pixels
}

}  // namespace
