// Terminal input bytes to keys.
//
// A terminal sends a key as one byte (a letter, a control byte), as a UTF-8 character, or as an
// escape sequence: CSI (Esc [ ... final) or SS3 (Esc O final) for the cursor block, the function
// keys and the application keypad, and Esc followed by a character for Alt + that key. The
// decoder turns them into the key events of the classic PC keyboard: a character (code page 852)
// or an extended key with its scan code, and with Shift, Ctrl or Alt held the codes of the PC
// scheme (Ctrl+Left 115, Alt+F1 104, ...).
//
// decode_key looks at the front of a byte buffer and answers one of: a key, an interrupt (Ctrl-C,
// which is never delivered as a key), bytes to drop (an unknown sequence, consumed whole, or a
// character code page 852 lacks), or partial: the bytes begin a sequence that needs more. A
// partial answer is final only while more input may still come; the caller that saw no further
// byte for kEscapeTimeoutMs decodes again with MoreInput::TimedOut, and a lone Esc becomes the
// Esc key (27). KeyDecoder keeps the partial tail between reads, so sequences may be split.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "services/console/keyboard.h"

// How long an incomplete sequence waits for its next byte before it is resolved.
constexpr int kEscapeTimeoutMs = 50;

// Whether bytes may still follow those given to the decoder.
enum class MoreInput : uint8_t {
  MayFollow,  // the buffer ends where the last read ended; a sequence may continue
  TimedOut,   // nothing came for kEscapeTimeoutMs (or input ended): resolve what is there
};

enum class KeyDecodeStatus : uint8_t {
  Key,        // `consumed` bytes gave `key`
  Interrupt,  // Ctrl-C (byte 3): the user wants the program to end
  Dropped,    // `consumed` bytes are an unknown sequence or a character without a code
  Partial,    // the bytes begin a sequence that needs more input; nothing consumed
};

struct KeyDecodeResult {
  KeyDecodeStatus status = KeyDecodeStatus::Partial;
  std::size_t consumed = 0;  // bytes taken from the front of the buffer (0 when partial)
  KeyEvent key{};            // the key, for Key only
};

// Decodes the key at the front of `bytes`, which must not be empty. Never answers Partial for
// MoreInput::TimedOut, so every byte is eventually consumed.
KeyDecodeResult decode_key(std::span<const uint8_t> bytes, MoreInput more);

// The decoder with its buffer: bytes go in as they are read, whole keys come out.
//
// Besides decode_key it folds a line feed that directly follows a carriage return into the one
// Enter they stand for, so a typed-key file with CR LF line ends gives one Enter per line.
class KeyDecoder {
 public:
  // Appends `bytes` and returns the keys and interrupts they complete, in order. Dropped bytes
  // give nothing. An incomplete tail is kept for the next call.
  std::vector<KeyDecodeResult> feed(std::span<const uint8_t> bytes);
  // No byte came for kEscapeTimeoutMs, or input ended: resolves the kept tail.
  std::vector<KeyDecodeResult> flush();
  // True when an incomplete sequence is kept (the caller should time it out).
  bool has_partial() const { return !buffer_.empty(); }

 private:
  std::vector<KeyDecodeResult> decode_buffer(MoreInput more);

  std::vector<uint8_t> buffer_;  // bytes read but not yet decoded (at most one partial sequence)
  bool after_carriage_return_ = false;  // the last byte decoded was CR (13)
};
