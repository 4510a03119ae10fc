// The window's key mapping: SDL key symbols to the PC codes of pc_keys.h.
#include "services/desktop/window_keys.h"

#include <SDL.h>

#include <cstring>
#include <span>

#include "services/console/pc_keys.h"
#include "services/text/cp852.h"
#include "services/text/utf8.h"

static_assert(key_mod::kShift == KMOD_SHIFT && key_mod::kCtrl == KMOD_CTRL);
static_assert(key_mod::kAlt == KMOD_ALT && key_mod::kNumLock == KMOD_NUM);

namespace {

struct ExtendedKey {
  SDL_Keycode sym;
  PcKeyCodes codes;
};

constexpr ExtendedKey kExtendedKeys[] = {
    {SDLK_F1, pc_key::function_key(1)},   {SDLK_F2, pc_key::function_key(2)},
    {SDLK_F3, pc_key::function_key(3)},   {SDLK_F4, pc_key::function_key(4)},
    {SDLK_F5, pc_key::function_key(5)},   {SDLK_F6, pc_key::function_key(6)},
    {SDLK_F7, pc_key::function_key(7)},   {SDLK_F8, pc_key::function_key(8)},
    {SDLK_F9, pc_key::function_key(9)},   {SDLK_F10, pc_key::function_key(10)},
    {SDLK_F11, pc_key::kF11},             {SDLK_F12, pc_key::kF12},
    {SDLK_HOME, pc_key::kHome},           {SDLK_UP, pc_key::kUp},
    {SDLK_PAGEUP, pc_key::kPageUp},       {SDLK_LEFT, pc_key::kLeft},
    {SDLK_RIGHT, pc_key::kRight},         {SDLK_END, pc_key::kEnd},
    {SDLK_DOWN, pc_key::kDown},           {SDLK_PAGEDOWN, pc_key::kPageDown},
    {SDLK_INSERT, pc_key::kInsert},       {SDLK_DELETE, pc_key::kDelete},
    {SDLK_KP_ENTER, pc_key::kKeypadEnter}, {SDLK_KP_DIVIDE, pc_key::kKeypadSlash},
};

// Keypad keys that act as the cursor block while Num Lock is off.
struct KeypadCursor {
  SDL_Keycode keypad, cursor;
};
constexpr KeypadCursor kKeypadCursor[] = {
    {SDLK_KP_7, SDLK_HOME}, {SDLK_KP_8, SDLK_UP},       {SDLK_KP_9, SDLK_PAGEUP},
    {SDLK_KP_4, SDLK_LEFT}, {SDLK_KP_6, SDLK_RIGHT},    {SDLK_KP_1, SDLK_END},
    {SDLK_KP_2, SDLK_DOWN}, {SDLK_KP_3, SDLK_PAGEDOWN}, {SDLK_KP_0, SDLK_INSERT},
    {SDLK_KP_PERIOD, SDLK_DELETE},
};

// Keys that give a control character rather than an extended code.
struct ControlKey {
  SDL_Keycode sym;
  ControlKeyCodes codes;
};
constexpr ControlKey kControlKeys[] = {
    {SDLK_RETURN, pc_key::kEnter}, {SDLK_BACKSPACE, pc_key::kBackspace},
    {SDLK_ESCAPE, pc_key::kEscape}, {SDLK_TAB, pc_key::kTab},
};

// The modifier whose codes a key gives under SDL's modifier bits.
KeyModifier keydown_modifier(uint16_t mod) {
  return held_modifier(mod & KMOD_SHIFT, mod & KMOD_CTRL, mod & KMOD_ALT);
}

std::optional<KeyEvent> extended_key(SDL_Keycode sym, uint16_t mod) {
  for (const ExtendedKey& key : kExtendedKeys) {
    if (key.sym == sym) return KeyEvent{pc_key_code(key.codes, keydown_modifier(mod)), true};
  }
  return std::nullopt;
}

}  // namespace

std::optional<KeyEvent> key_for_keydown(int32_t sym, uint16_t mod) {
  if (!(mod & KMOD_NUM)) {
    for (const KeypadCursor& pair : kKeypadCursor) {
      if (pair.keypad == sym) return extended_key(pair.cursor, mod);
    }
  }
  if (auto key = extended_key(sym, mod)) return key;
  if (sym == SDLK_TAB && (mod & KMOD_SHIFT)) return KeyEvent{pc_key::kBackTab.plain, true};
  for (const ControlKey& key : kControlKeys) {
    if (key.sym == sym) return KeyEvent{control_key_code(key.codes, mod & KMOD_CTRL), false};
  }
  if (keydown_modifier(mod) == KeyModifier::Ctrl && sym >= SDLK_a && sym <= SDLK_z) {
    return KeyEvent{static_cast<uint8_t>(sym - SDLK_a + 1), false};
  }
  if ((mod & KMOD_ALT) && !(mod & KMOD_CTRL) && sym > 0 &&
      sym < static_cast<int32_t>(kAltCodes.size()) &&
      kAltCodes[static_cast<std::size_t>(sym)] != 0) {
    return KeyEvent{kAltCodes[static_cast<std::size_t>(sym)], true};
  }
  return std::nullopt;
}

bool is_interrupt_keydown(int32_t sym, uint16_t mod) {
  return sym == SDLK_c && keydown_modifier(mod) == KeyModifier::Ctrl;
}

void push_text_keys(const char* utf8) {
  const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(utf8), std::strlen(utf8));
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char decoded = decode_utf8(text.subspan(i));
    i += decoded.length;
    if (decoded.status != Utf8Char::Status::Char) continue;
    const int byte = unicode_to_cp852(decoded.character);
    if (byte >= 0) push_key(KeyEvent{static_cast<uint8_t>(byte), false});
  }
}
