// What the fuzz targets share: a check that stays on in every build, and a reader of the
// fuzzer's bytes.
//
// A failed check prints what broke and aborts, which libFuzzer reports as a crash and saves the
// input for. Run-time errors the code raises on purpose are not failures; each target catches
// the ones its operations may raise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);  \
      std::abort();                                                                        \
    }                                                                                      \
  } while (false)

// Takes values from the front of the input; past its end every value reads as zero.
class FuzzBytes {
 public:
  FuzzBytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return position_ >= size_; }

  uint8_t byte() { return empty() ? 0 : data_[position_++]; }

  // `count` bytes (fewer at the end) as a string.
  std::string_view bytes(std::size_t count) {
    const std::size_t available = size_ - position_;
    const std::string_view taken(reinterpret_cast<const char*>(data_ + position_),
                                 count < available ? count : available);
    position_ += taken.size();
    return taken;
  }

  // The rest of the input.
  std::string_view rest() { return bytes(size_ - position_); }

  // A value of a trivially copyable type, little-endian as in memory, zero-filled at the end.
  template <typename T>
  T value() {
    unsigned char raw[sizeof(T)] = {};
    const std::string_view taken = bytes(sizeof(T));
    if (!taken.empty()) std::memcpy(raw, taken.data(), taken.size());
    T result;
    std::memcpy(&result, raw, sizeof(T));
    return result;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};
