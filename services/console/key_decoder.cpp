// Terminal input bytes to keys: the tables and the one walk over them.
//
// Escape sequences follow the ECMA-48 shape: after Esc [ (CSI) come parameter bytes 0x30-0x3F,
// intermediate bytes 0x20-0x2F and one final byte 0x40-0x7E; after Esc O (SS3) the same without
// intermediates. Parameters are decimal numbers separated by ';'. The xterm modifier parameter is
// 1 + (Shift 1 | Alt 2 | Ctrl 4 | Meta 8): "Esc [ 1 ; 5 C" is Ctrl+Right, "Esc [ 15 ; 3 ~" is
// Alt+F5. When several modifiers are held, Alt wins over Ctrl and Ctrl over Shift (pc_keys.h); Meta
// counts as Alt. A sequence with a byte outside these ranges, or longer than kMaxSequenceLength, is
// dropped up to that byte.
#include "services/console/key_decoder.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "services/console/pc_keys.h"
#include "services/text/cp852.h"
#include "services/text/utf8.h"

namespace {

// Esc: the key's code, and the byte that begins every sequence.
constexpr uint8_t kEscapeByte = pc_key::kEscape.plain;
constexpr std::size_t kMaxSequenceLength = 32;

using namespace pc_key;
using KeyCodes = PcKeyCodes;

struct FinalKey {
  uint8_t final;
  KeyCodes codes;
};

// Esc [ final, and Esc [ 1 ; modifier final (xterm and most of its imitators).
constexpr FinalKey kCsiFinalKeys[] = {
    {'A', kUp},   {'B', kDown},          {'C', kRight},         {'D', kLeft},
    {'H', kHome}, {'F', kEnd},           {'P', function_key(1)}, {'Q', function_key(2)},
    {'R', function_key(3)}, {'S', function_key(4)}, {'Z', kBackTab},
};

// Esc O final: application cursor keys, F1..F4, keypad Enter and keypad /.
constexpr FinalKey kSs3FinalKeys[] = {
    {'A', kUp},   {'B', kDown},          {'C', kRight},         {'D', kLeft},
    {'H', kHome}, {'F', kEnd},           {'P', function_key(1)}, {'Q', function_key(2)},
    {'R', function_key(3)}, {'S', function_key(4)}, {'M', kKeypadEnter}, {'o', kKeypadSlash},
};

// Esc O final of the application keypad's character keys: they type their character.
struct FinalCharacter {
  uint8_t final;
  uint8_t character;
};
constexpr FinalCharacter kSs3Characters[] = {
    {'j', '*'}, {'k', '+'}, {'l', ','}, {'m', '-'}, {'n', '.'}, {'X', '='},
    {'p', '0'}, {'q', '1'}, {'r', '2'}, {'s', '3'}, {'t', '4'},
    {'u', '5'}, {'v', '6'}, {'w', '7'}, {'x', '8'}, {'y', '9'},
};

// Esc [ number ~ and Esc [ number ; modifier ~ (VT220 style; 7 and 8 are rxvt's Home and End).
struct NumberKey {
  int number;
  KeyCodes codes;
};
constexpr NumberKey kTildeKeys[] = {
    {1, kHome},  {2, kInsert}, {3, kDelete}, {4, kEnd}, {5, kPageUp}, {6, kPageDown},
    {7, kHome},  {8, kEnd},
    {11, function_key(1)}, {12, function_key(2)}, {13, function_key(3)}, {14, function_key(4)},
    {15, function_key(5)}, {17, function_key(6)}, {18, function_key(7)}, {19, function_key(8)},
    {20, function_key(9)}, {21, function_key(10)}, {23, kF11}, {24, kF12},
};

// Single bytes that are not typed as themselves; every other byte below 128 is its own key.
struct SpecialByte {
  uint8_t byte;
  KeyDecodeStatus status;
  uint8_t code;
};
constexpr SpecialByte kSpecialBytes[] = {
    {0, KeyDecodeStatus::Dropped, 0},               // Ctrl-Space: no character on the PC either
    {3, KeyDecodeStatus::Interrupt, 0},             // Ctrl-C
    {10, KeyDecodeStatus::Key, kEnter.plain},       // line feed is Enter
    {127, KeyDecodeStatus::Key, kBackspace.plain},  // most terminals send DEL for Backspace
};

KeyDecodeResult key_result(uint8_t code, bool extended, std::size_t consumed) {
  return {KeyDecodeStatus::Key, consumed, KeyEvent{code, extended}};
}

KeyDecodeResult dropped(std::size_t consumed) { return {KeyDecodeStatus::Dropped, consumed, {}}; }

KeyDecodeResult partial() { return {}; }

// The code of `codes` for an xterm modifier parameter (1 = none), or 0 when it is out of range.
uint8_t modified_code(const KeyCodes& codes, int modifier) {
  if (modifier < 1 || modifier > 16) return 0;
  const int held = modifier - 1;
  return pc_key_code(codes, held_modifier(held & 1, held & 4, held & (2 | 8)));
}

KeyDecodeResult extended_key(const KeyCodes& codes, int modifier, std::size_t consumed) {
  const uint8_t code = modified_code(codes, modifier);
  return code == 0 ? dropped(consumed) : key_result(code, true, consumed);
}

// The parameters of a sequence: up to two numbers; absent or empty ones read as 1.
struct Parameters {
  bool valid = true;
  int count = 0;
  std::array<int, 2> values{1, 1};
};

Parameters parse_parameters(std::span<const uint8_t> text) {
  Parameters parameters;
  if (text.empty()) return parameters;
  parameters.count = 1;
  int value = -1;  // -1: no digit yet in this field
  for (const uint8_t byte : text) {
    if (byte == ';') {
      if (value >= 0) parameters.values[parameters.count - 1] = value;
      if (++parameters.count > 2) return {false};
      value = -1;
    } else if (byte >= '0' && byte <= '9' && value < 1000) {
      value = (value < 0 ? 0 : value * 10) + (byte - '0');
    } else {
      return {false};
    }
  }
  if (value >= 0) parameters.values[parameters.count - 1] = value;
  return parameters;
}

// The modifier of a key named by its final byte: "1 ; m" or a lone "m" (older SS3 forms).
int final_key_modifier(const Parameters& parameters) {
  if (parameters.count < 2) return parameters.values[0];
  return parameters.values[0] == 1 ? parameters.values[1] : 0;
}

// An escape sequence split into its parts, scanned from `start` (the byte after Esc [ or Esc O).
struct SequenceScan {
  enum class Kind : uint8_t { Complete, Partial, Malformed } kind;
  std::size_t length;                   // bytes through the final (complete) or before the fault
  std::span<const uint8_t> parameters;  // the parameter bytes
  bool has_intermediates;
  uint8_t final;
};

// Nothing past kMaxSequenceLength bytes is looked at, so an overlong sequence is cut at the same
// byte however many of its bytes one read brought.
SequenceScan scan_sequence(std::span<const uint8_t> bytes, std::size_t start) {
  const std::size_t end = std::min(bytes.size(), kMaxSequenceLength);
  std::size_t i = start;
  while (i < end && bytes[i] >= 0x30 && bytes[i] <= 0x3F) ++i;
  const auto parameters = bytes.subspan(start, i - start);
  const std::size_t intermediates_start = i;
  while (i < end && bytes[i] >= 0x20 && bytes[i] <= 0x2F) ++i;
  const bool has_intermediates = i > intermediates_start;
  if (i >= kMaxSequenceLength) return {SequenceScan::Kind::Malformed, i, parameters, false, 0};
  if (i == bytes.size()) return {SequenceScan::Kind::Partial, i, parameters, false, 0};
  if (bytes[i] < 0x40 || bytes[i] > 0x7E) {
    return {SequenceScan::Kind::Malformed, i, parameters, false, 0};
  }
  return {SequenceScan::Kind::Complete, i + 1, parameters, has_intermediates, bytes[i]};
}

// Esc [ [ A..E: F1..F5 of the Linux console.
KeyDecodeResult decode_linux_function_key(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return partial();
  if (bytes[3] < 'A' || bytes[3] > 'E') return dropped(4);
  return extended_key(function_key(bytes[3] - 'A' + 1), 1, 4);
}

KeyDecodeResult decode_csi(std::span<const uint8_t> bytes) {
  if (bytes.size() == 2) return partial();
  if (bytes[2] == '[') return decode_linux_function_key(bytes);
  const SequenceScan scan = scan_sequence(bytes, 2);
  if (scan.kind == SequenceScan::Kind::Partial) return partial();
  if (scan.kind == SequenceScan::Kind::Malformed) return dropped(scan.length);
  const Parameters parameters = parse_parameters(scan.parameters);
  if (scan.has_intermediates || !parameters.valid) return dropped(scan.length);
  if (scan.final == '~') {
    for (const NumberKey& key : kTildeKeys) {
      if (key.number == parameters.values[0]) {
        return extended_key(key.codes, parameters.values[1], scan.length);
      }
    }
    return dropped(scan.length);
  }
  for (const FinalKey& key : kCsiFinalKeys) {
    if (key.final == scan.final) {
      return extended_key(key.codes, final_key_modifier(parameters), scan.length);
    }
  }
  return dropped(scan.length);
}

KeyDecodeResult decode_ss3(std::span<const uint8_t> bytes) {
  if (bytes.size() == 2) return partial();
  const SequenceScan scan = scan_sequence(bytes, 2);
  if (scan.kind == SequenceScan::Kind::Partial) return partial();
  // Esc O and then no sequence at all: Alt+O, and the next byte stands on its own.
  if (scan.kind == SequenceScan::Kind::Malformed && scan.length == 2) {
    return key_result(kAltCodes['O'], true, 2);
  }
  const Parameters parameters = parse_parameters(scan.parameters);
  if (scan.kind != SequenceScan::Kind::Complete || scan.has_intermediates || !parameters.valid) {
    return dropped(scan.length);
  }
  for (const FinalKey& key : kSs3FinalKeys) {
    if (key.final == scan.final) {
      return extended_key(key.codes, final_key_modifier(parameters), scan.length);
    }
  }
  for (const FinalCharacter& key : kSs3Characters) {
    if (key.final == scan.final) return key_result(key.character, false, scan.length);
  }
  return dropped(scan.length);
}

// Esc and a byte that starts no sequence: Alt + that key when it has a code; otherwise an
// unknown Alt combination of a printable key is dropped, and Esc before a control byte or a
// UTF-8 character is the Esc key, the next byte standing on its own.
KeyDecodeResult decode_alt(std::span<const uint8_t> bytes) {
  const uint8_t second = bytes[1];
  if (second < kAltCodes.size() && kAltCodes[second] != 0) {
    return key_result(kAltCodes[second], true, 2);
  }
  if (second >= 0x20 && second <= 0x7E) return dropped(2);
  return key_result(kEscapeByte, false, 1);
}

KeyDecodeResult decode_escape(std::span<const uint8_t> bytes, MoreInput more) {
  if (bytes.size() == 1) {
    return more == MoreInput::MayFollow ? partial() : key_result(kEscapeByte, false, 1);
  }
  KeyDecodeResult result;
  if (bytes[1] == '[') {
    result = decode_csi(bytes);
  } else if (bytes[1] == 'O') {
    result = decode_ss3(bytes);
  } else {
    return decode_alt(bytes);
  }
  if (result.status != KeyDecodeStatus::Partial || more == MoreInput::MayFollow) return result;
  // The sequence stopped short. Esc O alone was Alt+O; a cut sequence is dropped whole rather
  // than typed as characters into a prompt.
  if (bytes.size() == 2 && bytes[1] == 'O') return key_result(kAltCodes['O'], true, 2);
  return dropped(bytes.size());
}

// A UTF-8 character becomes its code page 852 byte; one the code page lacks is dropped, and so is
// a malformed sequence (up to the first byte that does not belong to it).
KeyDecodeResult decode_utf8_key(std::span<const uint8_t> bytes, MoreInput more) {
  const Utf8Char decoded = decode_utf8(bytes);
  if (decoded.status == Utf8Char::Status::Truncated) {
    return more == MoreInput::MayFollow ? partial() : dropped(decoded.length);
  }
  if (decoded.status == Utf8Char::Status::Malformed) return dropped(decoded.length);
  // Bytes below 128 would forge control keys or repeat ASCII; only letters of the upper half count.
  const int code = unicode_to_cp852(decoded.character);
  if (code < 0x80 || code > 0xFF) return dropped(decoded.length);
  return key_result(static_cast<uint8_t>(code), false, decoded.length);
}

KeyDecodeResult decode_single_byte(uint8_t byte) {
  for (const SpecialByte& special : kSpecialBytes) {
    if (special.byte == byte) {
      return {special.status, 1, KeyEvent{special.code, false}};
    }
  }
  return key_result(byte, false, 1);
}

}  // namespace

KeyDecodeResult decode_key(std::span<const uint8_t> bytes, MoreInput more) {
  if (bytes[0] == kEscapeByte) return decode_escape(bytes, more);
  if (bytes[0] >= 0x80) return decode_utf8_key(bytes, more);
  return decode_single_byte(bytes[0]);
}

std::vector<KeyDecodeResult> KeyDecoder::feed(std::span<const uint8_t> bytes) {
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  return decode_buffer(MoreInput::MayFollow);
}

std::vector<KeyDecodeResult> KeyDecoder::flush() { return decode_buffer(MoreInput::TimedOut); }

std::vector<KeyDecodeResult> KeyDecoder::decode_buffer(MoreInput more) {
  std::vector<KeyDecodeResult> keys;
  std::size_t position = 0;
  while (position < buffer_.size()) {
    const std::span<const uint8_t> rest(buffer_.data() + position, buffer_.size() - position);
    const KeyDecodeResult result = decode_key(rest, more);
    if (result.status == KeyDecodeStatus::Partial) break;
    const bool folded_line_feed = rest[0] == '\n' && after_carriage_return_;
    after_carriage_return_ = rest[0] == '\r';
    position += result.consumed;
    if (folded_line_feed || result.status == KeyDecodeStatus::Dropped) continue;
    keys.push_back(result);
  }
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(position));
  return keys;
}
