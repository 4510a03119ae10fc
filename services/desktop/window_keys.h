// Keys typed into the graphics window, turned into the key events of the classic PC keyboard.
//
// SDL reports a key press as a key-down event (the key and the modifiers held) and, for keys that
// type a character, a text-input event as well. Keys that make their own code (Enter, Backspace,
// Esc, Tab, Ctrl with a letter, and the extended keys with their PC codes from pc_keys.h) are
// taken from the key-down; characters from the text input, converted to code page 852.
#pragma once

#include <cstdint>
#include <optional>

#include "services/console/keyboard.h"

// SDL modifier bits this module looks at (values of SDL's KMOD_* constants).
namespace key_mod {
constexpr uint16_t kShift = 0x0003, kCtrl = 0x00C0, kAlt = 0x0300, kNumLock = 0x1000;
}

// The key a key-down event produces by itself: Enter, Backspace, Esc, Tab, Ctrl with a letter
// (1..26), Alt with a letter, a digit, - or = (the extended key of pc_keys.h's kAltCodes, as the
// terminal gives it) and the extended keys (arrows, cursor block, keypad Enter and /, F1..F12,
// the keypad cursor keys when Num Lock is off; with Shift, Ctrl or Alt the classic PC codes).
// Nothing for keys whose character comes as text input. `sym` is an SDL_Keycode, `mod` SDL_Keymod
// bits.
std::optional<KeyEvent> key_for_keydown(int32_t sym, uint16_t mod);

// True for Ctrl-C, which ends the program (host.h: interrupt_program) instead of being a key.
bool is_interrupt_keydown(int32_t sym, uint16_t mod);

// Pushes the characters of a UTF-8 text-input event as code page 852 keys; characters the code
// page lacks and malformed bytes are dropped.
void push_text_keys(const char* utf8);
