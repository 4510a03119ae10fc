// Fuzz target: the key decoder on arbitrary terminal bytes, read whole and in pieces.
//
// Input: the bytes a terminal sends. They are decoded three ways: in one read, one byte per
// read, and in reads whose lengths the bytes choose (a read starting at byte b takes
// 1 + b % 7 bytes); each way ends with the timeout's flush.
//
// Checked: the three ways give the same keys and interrupts in the same order (a sequence split
// across reads is one key), every result took at least one byte and no more than were fed,
// and after the flush no byte is left undecoded.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "services/console/key_decoder.h"

namespace {

struct Decoded {
  KeyDecodeStatus status;
  uint8_t code;
  bool extended;

  bool operator==(const Decoded&) const = default;
};

class Collector {
 public:
  void feed(KeyDecoder& decoder, std::span<const uint8_t> bytes) {
    fed_ += bytes.size();
    take(decoder.feed(bytes));
  }

  std::vector<Decoded> finish(KeyDecoder& decoder) {
    take(decoder.flush());
    FUZZ_CHECK(!decoder.has_partial());
    FUZZ_CHECK(taken_ <= fed_);
    return std::move(keys_);
  }

 private:
  void take(const std::vector<KeyDecodeResult>& results) {
    for (const KeyDecodeResult& result : results) {
      FUZZ_CHECK(result.status == KeyDecodeStatus::Key ||
                 result.status == KeyDecodeStatus::Interrupt);
      FUZZ_CHECK(result.consumed >= 1);
      taken_ += result.consumed;
      FUZZ_CHECK(taken_ <= fed_);
      keys_.push_back({result.status, result.key.code, result.key.extended});
    }
  }

  std::vector<Decoded> keys_;
  std::size_t fed_ = 0, taken_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> bytes(data, size);

  KeyDecoder whole_decoder;
  Collector whole;
  whole.feed(whole_decoder, bytes);
  const std::vector<Decoded> expected = whole.finish(whole_decoder);
  FUZZ_CHECK(expected.size() <= size);

  KeyDecoder byte_decoder;
  Collector by_byte;
  for (std::size_t i = 0; i < size; ++i) by_byte.feed(byte_decoder, bytes.subspan(i, 1));
  FUZZ_CHECK(by_byte.finish(byte_decoder) == expected);

  KeyDecoder piece_decoder;
  Collector by_piece;
  for (std::size_t i = 0; i < size;) {
    const std::size_t length = std::min<std::size_t>(1 + bytes[i] % 7, size - i);
    by_piece.feed(piece_decoder, bytes.subspan(i, length));
    i += length;
  }
  FUZZ_CHECK(by_piece.finish(piece_decoder) == expected);
  return 0;
}
