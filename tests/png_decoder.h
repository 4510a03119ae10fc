// An independent decoder of the 8-bit palette PNG files the programs write (zlib's inflate and
// checksums), for the tests of the encoder and of the saved run picture. Failures are reported
// through GoogleTest's non-fatal expectations.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace png_test {

struct DecodedPng {
  int width = 0, height = 0;
  std::vector<uint8_t> palette;  // RGB triples
  std::vector<uint8_t> indices;
};

inline uint32_t big_endian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

inline int paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// A decoder of 8-bit palette PNGs, every filter type included, checking every CRC.
inline DecodedPng decode(const std::vector<uint8_t>& png) {
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

}  // namespace png_test
