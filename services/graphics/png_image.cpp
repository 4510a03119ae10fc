// The PNG encoder (see png_image.h).
//
// Layout of the file: the signature, IHDR, PLTE, one IDAT holding a zlib stream, IEND; every
// chunk is length, type, data and the CRC-32 of type and data, all numbers big-endian. The zlib
// stream is a two-byte header, deflate blocks and the Adler-32 of the uncompressed bytes.
//
// Deflate (RFC 1951) writes its bits least significant first; Huffman codes go in most
// significant bit first, so they are reversed on the way in. One block with the fixed codes
// holds the whole image: literals 0-143 take 8 bits, 144-255 take 9, end and lengths 256-279
// take 7, 280-287 take 8; distances take 5 bits. Matches are found greedily through chains of
// earlier positions with the same three bytes, within the 32 KB window.
#include "services/graphics/png_image.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace {

// ---------------------------------------------------------------------------------------------
// Checksums

constexpr std::array<uint32_t, 256> kCrcTable = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

uint32_t crc32(const uint8_t* data, std::size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
  constexpr uint32_t kBase = 65521;
  constexpr std::size_t kBlock = 5552;  // the most bytes before the sums can overflow 32 bits
  uint32_t a = 1, b = 0;
  for (std::size_t start = 0; start < data.size(); start += kBlock) {
    const std::size_t end = std::min(data.size(), start + kBlock);
    for (std::size_t i = start; i < end; ++i) {
      a += data[i];
      b += a;
    }
    a %= kBase;
    b %= kBase;
  }
  return (b << 16) | a;
}

void put_u32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void put_chunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data) {
  put_u32(out, static_cast<uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  put_u32(out, crc32(out.data() + start, out.size() - start));
}

// ---------------------------------------------------------------------------------------------
// Deflate with the fixed codes

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // `count` bits of `value`, least significant first.
  void bits(uint32_t value, int count) {
    buffer_ |= static_cast<uint64_t>(value) << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_.push_back(static_cast<uint8_t>(buffer_));
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  // A Huffman code of `length` bits, most significant first.
  void code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
    bits(reversed, length);
  }
  void flush() {
    if (filled_ > 0) out_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    filled_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t buffer_ = 0;
  int filled_ = 0;
};

void literal_or_length(BitWriter& out, int symbol) {
  if (symbol < 144) {
    out.code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    out.code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    out.code(symbol - 256, 7);
  } else {
    out.code(0xC0 + symbol - 280, 8);
  }
}

// The base values of the length codes 257..285 and of the distance codes 0..29, and their extra
// bits.
constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                        33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void match(BitWriter& out, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  literal_or_length(out, 257 + l);
  out.bits(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistanceBase[d] > distance) --d;
  out.code(static_cast<uint32_t>(d), 5);
  out.bits(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

constexpr int kMinMatch = 3, kMaxMatch = 258, kWindow = 32768, kMaxChain = 32;
constexpr int kHashBits = 15;

uint32_t hash3(const uint8_t* p) {
  return ((uint32_t{p[0]} << 10) ^ (uint32_t{p[1]} << 5) ^ p[2]) & ((1u << kHashBits) - 1);
}

// The whole input as one final block of fixed codes.
void deflate_fixed(const std::vector<uint8_t>& input, std::vector<uint8_t>& output) {
  BitWriter out(output);
  out.bits(1, 1);  // the final block
  out.bits(1, 2);  // fixed codes
  const int size = static_cast<int>(input.size());
  std::vector<int> head(std::size_t{1} << kHashBits, -1);
  std::vector<int> previous(input.size(), -1);
  auto insert = [&](int at) {
    if (at + kMinMatch > size) return;
    const uint32_t h = hash3(&input[static_cast<std::size_t>(at)]);
    previous[static_cast<std::size_t>(at)] = head[h];
    head[h] = at;
  };
  for (int at = 0; at < size;) {
    int best_length = 0, best_distance = 0;
    if (at + kMinMatch <= size) {
      const int limit = std::min(kMaxMatch, size - at);
      int candidate = head[hash3(&input[static_cast<std::size_t>(at)])];
      for (int chain = 0; candidate >= 0 && at - candidate <= kWindow && chain < kMaxChain;
           ++chain, candidate = previous[static_cast<std::size_t>(candidate)]) {
        int length = 0;
        while (length < limit && input[static_cast<std::size_t>(candidate + length)] ==
                                     input[static_cast<std::size_t>(at + length)]) {
          ++length;
        }
        if (length > best_length) {
          best_length = length;
          best_distance = at - candidate;
          if (length == limit) break;
        }
      }
    }
    if (best_length >= kMinMatch) {
      match(out, best_length, best_distance);
      for (int i = 0; i < best_length; ++i) insert(at + i);
      at += best_length;
    } else {
      literal_or_length(out, input[static_cast<std::size_t>(at)]);
      insert(at);
      ++at;
    }
  }
  literal_or_length(out, 256);  // the end of the block
  out.flush();
}

// ---------------------------------------------------------------------------------------------
// Row filters

// Appends the row filtered by the filter that gives the smallest sum of its bytes taken as signed
// values (the usual choice): None (0), Sub (1) or Up (2).
void filter_row(const uint8_t* row, const uint8_t* above, int width, std::vector<uint8_t>& out) {
  auto cost = [width](auto&& byte_at) {
    long sum = 0;
    for (int x = 0; x < width; ++x) sum += std::abs(static_cast<int8_t>(byte_at(x)));
    return sum;
  };
  auto none = [row](int x) { return row[x]; };
  auto sub = [row](int x) { return static_cast<uint8_t>(row[x] - (x > 0 ? row[x - 1] : 0)); };
  auto up = [row, above](int x) {
    return static_cast<uint8_t>(row[x] - (above != nullptr ? above[x] : 0));
  };
  const long costs[3] = {cost(none), cost(sub), cost(up)};
  const int filter = static_cast<int>(std::min_element(costs, costs + 3) - costs);
  out.push_back(static_cast<uint8_t>(filter));
  for (int x = 0; x < width; ++x) out.push_back(filter == 0 ? none(x) : filter == 1 ? sub(x) : up(x));
}

}  // namespace

std::vector<uint8_t> encode_png(const uint8_t* indices, int width, int height,
                                const uint32_t (&palette)[256]) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = indices + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    filter_row(row, y > 0 ? row - width : nullptr, width, raw);
  }
  std::vector<uint8_t> idat = {0x78, 0x01};  // deflate, 32 KB window; the check bits fit
  deflate_fixed(raw, idat);
  put_u32(idat, adler32(raw));

  std::vector<uint8_t> header;
  put_u32(header, static_cast<uint32_t>(width));
  put_u32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, no interlace
  std::vector<uint8_t> colours;
  for (const uint32_t rgb : palette) {
    colours.insert(colours.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                   static_cast<uint8_t>(rgb)});
  }
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  put_chunk(png, "IHDR", header);
  put_chunk(png, "PLTE", colours);
  put_chunk(png, "IDAT", idat);
  put_chunk(png, "IEND", {});
  return png;
}
