// Keys typed into the web page, turned into the key events of the classic PC keyboard.
//
// A browser reports a key press as a keydown event with `key` (what the key types or its name:
// "a", "ő", "Enter", "ArrowLeft", "F5"), `code` (the physical key: "NumpadEnter", "KeyA") and the
// modifiers held. The named keys take their PC codes from pc_keys.h, the same table the
// terminal's decoder and the graphics window read; a character key gives its code page 852 byte.
// As on the PC keyboard Alt wins over Ctrl and Ctrl over Shift; Meta counts as Alt, and AltGr
// (which some browsers report as Ctrl+Alt) types its character as it is.
//
// Ctrl-C is not a key but the user's wish to end the program (the terminal's interrupt).
// Keys without a code (modifiers alone, Caps Lock, media keys, F13 and above, characters code
// page 852 lacks, Alt with a key the PC gives no Alt code) are ignored and left to the browser.
#pragma once

#include <cstdint>
#include <string_view>

#include "services/console/keyboard.h"

// Modifier bits of a keydown event (the page API makes them from the event's flags).
namespace dom_mod {
constexpr unsigned kShift = 1, kCtrl = 2, kAlt = 4, kMeta = 8, kAltGraph = 16;
}

enum class DomKeyStatus : uint8_t {
  Key,        // `key` is the key the press gives
  Interrupt,  // Ctrl-C: the program is to end
  Ignored,    // no key: the browser may act on it
};

struct DomKeyResult {
  DomKeyStatus status = DomKeyStatus::Ignored;
  KeyEvent key{};  // for Key only
};

// The key of a keydown event; `key` and `code` are the event's strings in UTF-8.
DomKeyResult key_for_dom_event(std::string_view key, std::string_view code, unsigned modifiers);
