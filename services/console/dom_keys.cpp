// The page's key mapping: keydown names and characters to the PC codes of pc_keys.h.
#include "services/console/dom_keys.h"

#include <span>

#include "services/console/pc_keys.h"
#include "services/text/cp852.h"
#include "services/text/utf8.h"

namespace {

struct NamedKey {
  std::string_view name;
  PcKeyCodes codes;
};

// Keypad keys with Num Lock off are reported under these names too.
constexpr NamedKey kExtendedKeys[] = {
    {"F1", pc_key::function_key(1)},   {"F2", pc_key::function_key(2)},
    {"F3", pc_key::function_key(3)},   {"F4", pc_key::function_key(4)},
    {"F5", pc_key::function_key(5)},   {"F6", pc_key::function_key(6)},
    {"F7", pc_key::function_key(7)},   {"F8", pc_key::function_key(8)},
    {"F9", pc_key::function_key(9)},   {"F10", pc_key::function_key(10)},
    {"F11", pc_key::kF11},             {"F12", pc_key::kF12},
    {"Home", pc_key::kHome},           {"ArrowUp", pc_key::kUp},
    {"PageUp", pc_key::kPageUp},       {"ArrowLeft", pc_key::kLeft},
    {"ArrowRight", pc_key::kRight},    {"End", pc_key::kEnd},
    {"ArrowDown", pc_key::kDown},      {"PageDown", pc_key::kPageDown},
    {"Insert", pc_key::kInsert},       {"Delete", pc_key::kDelete},
};

// Keys that give a control character rather than an extended code.
struct ControlKey {
  std::string_view name;
  ControlKeyCodes codes;
};
constexpr ControlKey kControlKeys[] = {
    {"Enter", pc_key::kEnter}, {"Backspace", pc_key::kBackspace}, {"Escape", pc_key::kEscape},
    {"Tab", pc_key::kTab},
};

constexpr uint8_t kCtrlC = 3;

// The modifier whose codes a key gives under the event's modifier bits; Meta counts as Alt.
KeyModifier event_modifier(unsigned modifiers) {
  return held_modifier(modifiers & dom_mod::kShift, modifiers & dom_mod::kCtrl,
                       modifiers & (dom_mod::kAlt | dom_mod::kMeta));
}

DomKeyResult key(uint8_t code, bool extended) { return {DomKeyStatus::Key, {code, extended}}; }

DomKeyResult extended(const PcKeyCodes& codes, unsigned modifiers) {
  return key(pc_key_code(codes, event_modifier(modifiers)), true);
}

// The one character `text` holds, or nothing when it holds none or more than one.
bool single_character(std::string_view text, char32_t& character) {
  if (text.empty()) return false;
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  const Utf8Char decoded = decode_utf8(bytes);
  if (decoded.status != Utf8Char::Status::Char || decoded.length != text.size()) return false;
  character = decoded.character;
  return character >= 0x20 && character != 0x7F;
}

// A character key: Ctrl with a letter gives its control code, Alt its scan code from the PC
// table, and otherwise the character itself in code page 852.
DomKeyResult character_key(char32_t character, unsigned modifiers) {
  const KeyModifier held = event_modifier(modifiers);
  const bool ascii_letter =
      (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
  if (held == KeyModifier::Alt) {
    if (character < kAltCodes.size() && kAltCodes[character] != 0)
      return key(kAltCodes[character], true);
    return {};
  }
  if (held == KeyModifier::Ctrl) {
    if (!ascii_letter) return {};
    const auto code = static_cast<uint8_t>((character | 0x20) - 'a' + 1);
    if (code == kCtrlC) return {DomKeyStatus::Interrupt, {}};
    return key(code, false);
  }
  const int byte = unicode_to_cp852(character);
  if (byte < 0) return {};
  return key(static_cast<uint8_t>(byte), false);
}

}  // namespace

DomKeyResult key_for_dom_event(std::string_view name, std::string_view code, unsigned modifiers) {
  // AltGr types the character of its layer: neither Ctrl nor Alt is held for the program.
  if (modifiers & dom_mod::kAltGraph) modifiers &= ~(dom_mod::kCtrl | dom_mod::kAlt);
  if (code == "NumpadEnter") return extended(pc_key::kKeypadEnter, modifiers);
  if (code == "NumpadDivide") return extended(pc_key::kKeypadSlash, modifiers);
  for (const NamedKey& named : kExtendedKeys) {
    if (named.name == name) return extended(named.codes, modifiers);
  }
  if (name == "Tab" && (modifiers & dom_mod::kShift)) return key(pc_key::kBackTab.plain, true);
  for (const ControlKey& control : kControlKeys) {
    if (control.name == name) {
      return key(control_key_code(control.codes, modifiers & dom_mod::kCtrl), false);
    }
  }
  char32_t character = 0;
  if (single_character(name, character)) return character_key(character, modifiers);
  return {};
}
