// The PNG encoder, read back by an independent decoder (zlib's inflate and checksums): the
// file's chunks and checksums are valid and the pixels come back as the palette indices given.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "services/graphics/png_image.h"
#include "services/graphics/surface.h"

namespace {

struct DecodedPng {
  int width = 0, height = 0;
  std::vector<uint8_t> palette;  // RGB triples
  std::vector<uint8_t> indices;
};

uint32_t big_endian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

int paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// A decoder of 8-bit palette PNGs, every filter type included, checking every CRC.
DecodedPng decode(const std::vector<uint8_t>& png) {
  DecodedPng image;
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(std::memcmp(png.data(), signature, 8), 0);
  std::vector<uint8_t> compressed;
  bool ended = false;
  for (std::size_t at = 8; at + 12 <= png.size() && !ended;) {
    const uint32_t length = big_endian(&png[at]);
    const std::string type(png.begin() + at + 4, png.begin() + at + 8);
    const uint8_t* data = &png[at + 8];
    EXPECT_EQ(crc32(0, &png[at + 4], length + 4), big_endian(data + length)) << type;
    if (type == "IHDR") {
      image.width = static_cast<int>(big_endian(data));
      image.height = static_cast<int>(big_endian(data + 4));
      EXPECT_EQ(data[8], 8);  // bits
      EXPECT_EQ(data[9], 3);  // palette
    } else if (type == "PLTE") {
      image.palette.assign(data, data + length);
    } else if (type == "IDAT") {
      compressed.insert(compressed.end(), data, data + length);
    } else if (type == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  EXPECT_TRUE(ended);
  const std::size_t stride = static_cast<std::size_t>(image.width) + 1;
  std::vector<uint8_t> raw(stride * static_cast<std::size_t>(image.height));
  uLongf raw_size = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &raw_size, compressed.data(), compressed.size()), Z_OK);
  EXPECT_EQ(raw_size, raw.size());
  image.indices.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t filter = raw[y * stride];
    for (int x = 0; x < image.width; ++x) {
      const int a = x > 0 ? image.indices[y * image.width + x - 1] : 0;
      const int b = y > 0 ? image.indices[(y - 1) * image.width + x] : 0;
      const int c = x > 0 && y > 0 ? image.indices[(y - 1) * image.width + x - 1] : 0;
      const int predictors[5] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
      EXPECT_LE(filter, 4);
      image.indices[y * image.width + x] =
          static_cast<uint8_t>(raw[y * stride + 1 + x] + predictors[filter % 5]);
    }
  }
  return image;
}

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
