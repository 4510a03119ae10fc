// The extended and control keys of the classic PC keyboard and the codes they give.
//
// An extended key reaches the program as 0 and then one code; which code depends on the modifier
// held: alone, with Shift, with Ctrl or with Alt (Alt wins over Ctrl, Ctrl over Shift, as on the
// PC keyboard). Alt with a character key gives that key's scan code. The control keys (Enter,
// Backspace, Esc, Tab) give a control character instead, another one with Ctrl held. This file is
// the one home of these numbers and of the modifiers' order: the terminal's key decoder, the
// graphics window's key mapping and the page's key mapping all read them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The codes an extended key gives alone and with Shift, Ctrl or Alt held.
struct PcKeyCodes {
  uint8_t plain, shift, ctrl, alt;
};

enum class KeyModifier : uint8_t { Plain, Shift, Ctrl, Alt };

// The modifier whose code a key gives when those flagged are held: Alt wins over Ctrl, Ctrl over
// Shift. A translator that knows Meta passes it as Alt.
constexpr KeyModifier held_modifier(bool shift, bool ctrl, bool alt) {
  if (alt) return KeyModifier::Alt;
  if (ctrl) return KeyModifier::Ctrl;
  if (shift) return KeyModifier::Shift;
  return KeyModifier::Plain;
}

// The code of `key` with `modifier` held.
constexpr uint8_t pc_key_code(const PcKeyCodes& key, KeyModifier modifier) {
  switch (modifier) {
    case KeyModifier::Shift: return key.shift;
    case KeyModifier::Ctrl: return key.ctrl;
    case KeyModifier::Alt: return key.alt;
    case KeyModifier::Plain: break;
  }
  return key.plain;
}

namespace pc_key {
constexpr PcKeyCodes kUp{72, 72, 141, 152};
constexpr PcKeyCodes kDown{80, 80, 145, 160};
constexpr PcKeyCodes kLeft{75, 75, 115, 155};
constexpr PcKeyCodes kRight{77, 77, 116, 157};
constexpr PcKeyCodes kHome{71, 71, 119, 151};
constexpr PcKeyCodes kEnd{79, 79, 117, 159};
constexpr PcKeyCodes kPageUp{73, 73, 132, 153};
constexpr PcKeyCodes kPageDown{81, 81, 118, 161};
constexpr PcKeyCodes kInsert{82, 82, 146, 162};
constexpr PcKeyCodes kDelete{83, 83, 147, 163};
constexpr PcKeyCodes kF11{133, 135, 137, 139};
constexpr PcKeyCodes kF12{134, 136, 138, 140};
constexpr PcKeyCodes kKeypadEnter{28, 28, 28, 166};
constexpr PcKeyCodes kKeypadSlash{53, 53, 149, 164};
constexpr PcKeyCodes kBackTab{15, 15, 15, 15};  // Shift+Tab

// F1..F10: 59..68 alone, Shift 84..93, Ctrl 94..103, Alt 104..113; F11 and F12 above.
constexpr PcKeyCodes function_key(int n) {
  if (n == 11) return kF11;
  if (n == 12) return kF12;
  const auto offset = static_cast<uint8_t>(n - 1);
  return {static_cast<uint8_t>(59 + offset), static_cast<uint8_t>(84 + offset),
          static_cast<uint8_t>(94 + offset), static_cast<uint8_t>(104 + offset)};
}
}  // namespace pc_key

// The codes a control key gives alone and with Ctrl held (whatever else is held with it).
struct ControlKeyCodes {
  uint8_t plain, ctrl;
};

// The code of control key `key`, with Ctrl held or not.
constexpr uint8_t control_key_code(const ControlKeyCodes& key, bool ctrl) {
  return ctrl ? key.ctrl : key.plain;
}

namespace pc_key {
constexpr ControlKeyCodes kEnter{13, 10};
constexpr ControlKeyCodes kBackspace{8, 127};
constexpr ControlKeyCodes kEscape{27, 27};
constexpr ControlKeyCodes kTab{9, 9};
}  // namespace pc_key

// Alt + a character key: the key's scan code (set 1 rows), Alt+digit 120..129, Alt+- and Alt+=
// 130 and 131. Indexed by the ASCII byte; 0 means Alt gives that key no code.
inline constexpr std::array<uint8_t, 128> kAltCodes = [] {
  std::array<uint8_t, 128> codes{};
  auto row = [&codes](std::string_view keys, int first) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const auto code = static_cast<uint8_t>(first + static_cast<int>(i));
      const auto key = static_cast<unsigned char>(keys[i]);
      codes[key] = code;
      if (key >= 'a' && key <= 'z') codes[key - 'a' + 'A'] = code;
    }
  };
  row("qwertyuiop", 16);
  row("asdfghjkl", 30);
  row("zxcvbnm", 44);
  row("1234567890", 120);
  row("-=", 130);
  return codes;
}();

// Scan codes of the extended keys alone, as read after the 0 prefix.
namespace scan {
constexpr uint8_t kF1 = pc_key::function_key(1).plain;  // F1..F10 are 59..68
constexpr uint8_t kHome = pc_key::kHome.plain, kUp = pc_key::kUp.plain;
constexpr uint8_t kPageUp = pc_key::kPageUp.plain, kLeft = pc_key::kLeft.plain;
constexpr uint8_t kRight = pc_key::kRight.plain, kEnd = pc_key::kEnd.plain;
constexpr uint8_t kDown = pc_key::kDown.plain, kPageDown = pc_key::kPageDown.plain;
constexpr uint8_t kInsert = pc_key::kInsert.plain, kDelete = pc_key::kDelete.plain;
constexpr uint8_t kF11 = pc_key::kF11.plain, kF12 = pc_key::kF12.plain;
constexpr uint8_t kKeypadEnter = pc_key::kKeypadEnter.plain;
constexpr uint8_t kKeypadSlash = pc_key::kKeypadSlash.plain;
}  // namespace scan
