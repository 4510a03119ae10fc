// The page's keydown events to PC keys: the named keys with each modifier, characters in code
// page 852, control keys, Ctrl-C, and the keys that have no code at all.
#include "services/console/dom_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/console/pc_keys.h"

namespace {

using namespace dom_mod;

struct Case {
  std::string key, code;
  unsigned modifiers;
  std::string expected;  // "[c]" a character, "[0 c]" extended, "interrupt" or "ignored"
};

std::string describe(const DomKeyResult& result) {
  switch (result.status) {
    case DomKeyStatus::Interrupt: return "interrupt";
    case DomKeyStatus::Ignored: return "ignored";
    case DomKeyStatus::Key: break;
  }
  return (result.key.extended ? "[0 " : "[") + std::to_string(result.key.code) + "]";
}

void expect_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(describe(key_for_dom_event(c.key, c.code, c.modifiers)), c.expected)
        << c.key << " / " << c.code << " modifiers " << c.modifiers;
  }
}

TEST(DomKeys, NamedKeysGiveThePcCodesWithEachModifier) {
  expect_cases({
      {"ArrowLeft", "ArrowLeft", 0, "[0 75]"},
      {"ArrowLeft", "ArrowLeft", kShift, "[0 75]"},
      {"ArrowLeft", "ArrowLeft", kCtrl, "[0 115]"},
      {"ArrowLeft", "ArrowLeft", kAlt, "[0 155]"},
      {"ArrowLeft", "ArrowLeft", kCtrl | kAlt, "[0 155]"},  // Alt wins
      {"ArrowLeft", "ArrowLeft", kMeta, "[0 155]"},          // Meta counts as Alt
      {"F1", "F1", 0, "[0 59]"},
      {"F10", "F10", kShift, "[0 93]"},
      {"F5", "F5", kCtrl, "[0 98]"},
      {"F12", "F12", kAlt, "[0 140]"},
      {"PageDown", "PageDown", kCtrl, "[0 118]"},
      {"Delete", "Delete", 0, "[0 83]"},
      // Keypad keys: Enter and / by their physical key, the rest with Num Lock off by name.
      {"Enter", "NumpadEnter", 0, "[0 28]"},
      {"Enter", "NumpadEnter", kAlt, "[0 166]"},
      {"/", "NumpadDivide", kCtrl, "[0 149]"},
      {"Home", "Numpad7", 0, "[0 71]"},
      {"Tab", "Tab", kShift, "[0 15]"},
  });
}

TEST(DomKeys, CharactersGiveTheirCodePageByte) {
  expect_cases({
      {"a", "KeyA", 0, "[97]"},
      {"L", "KeyL", kShift, "[76]"},
      {"7", "Numpad7", 0, "[55]"},
      {" ", "Space", 0, "[32]"},
      {"\xC5\x91", "Digit0", 0, "[139]"},   // ő
      {"\xC3\x89", "Semicolon", kShift, "[144]"},  // É
      {"@", "KeyV", kCtrl | kAlt | kAltGraph, "[64]"},  // AltGr+V on a Hungarian layout
  });
}

TEST(DomKeys, CtrlAndAltWithCharactersFollowThePcKeyboard) {
  expect_cases({
      {"a", "KeyA", kCtrl, "[1]"},
      {"Z", "KeyZ", kCtrl | kShift, "[26]"},
      {"x", "KeyX", kAlt, "[0 45]"},
      {"1", "Digit1", kAlt, "[0 120]"},
      {"=", "Equal", kAlt, "[0 131]"},
      {"Enter", "Enter", 0, "[13]"},
      {"Enter", "Enter", kCtrl, "[10]"},
      {"Backspace", "Backspace", 0, "[8]"},
      {"Backspace", "Backspace", kCtrl, "[127]"},
      {"Escape", "Escape", 0, "[27]"},
      {"Tab", "Tab", 0, "[9]"},
  });
}

TEST(DomKeys, CtrlCEndsTheProgramInsteadOfTypingAKey) {
  expect_cases({
      {"c", "KeyC", kCtrl, "interrupt"},
      {"C", "KeyC", kCtrl | kShift, "interrupt"},
      {"c", "KeyC", kAlt, "[0 46]"},  // Alt+C is a key like any other
  });
}

TEST(DomKeys, KeysWithoutACodeAreIgnored) {
  expect_cases({
      {"Shift", "ShiftLeft", kShift, "ignored"},
      {"Control", "ControlLeft", kCtrl, "ignored"},
      {"CapsLock", "CapsLock", 0, "ignored"},
      {"F13", "F13", 0, "ignored"},
      {"AudioVolumeUp", "AudioVolumeUp", 0, "ignored"},
      {"Dead", "BracketLeft", 0, "ignored"},
      {"Unidentified", "", 0, "ignored"},
      {"\xE2\x82\xAC", "KeyE", kAltGraph, "ignored"},  // € is not in code page 852
      {"\xC5\x91", "Digit0", kAlt, "ignored"},         // Alt+ő has no PC code
      {"1", "Digit1", kCtrl, "ignored"},
      {"ab", "", 0, "ignored"},                        // not one character
      {"", "", 0, "ignored"},
  });
}

}  // namespace
