// The headless console backend: the model is the only screen, sleeping only adds up time.
//
// A test (or a program test running the whole flow in-process) creates one HeadlessConsole for
// its duration. Creating it resets the console model, the typed-line input and the key queue
// and installs it as the host's console backend (host.h, for its lifetime). Keys are scripted
// up front with script_keys / script_key_events, optionally followed by the end of input, so
// that a read beyond the script throws run-time error 100 instead of waiting for ever.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/console/console.h"
#include "services/console/keyboard.h"
#include "services/program/host.h"

class HeadlessConsole : public ConsoleBackend {
 public:
  HeadlessConsole();
  HeadlessConsole(const HeadlessConsole&) = delete;
  HeadlessConsole& operator=(const HeadlessConsole&) = delete;

  void present(const ConsoleState& state) override;
  // Does not sleep: adds the time to slept_ms() and keeps the screen as it stands, so a test can
  // read every page a prompt waited on (the page prompt sleeps once before it looks for a key).
  void sleep(unsigned milliseconds) override;

  // One screen as its 25 rows, each as console_row_text gives it.
  using Screen = std::array<std::string, kConsoleRows>;

  uint64_t slept_ms() const { return slept_ms_; }
  uint64_t present_count() const { return present_count_; }
  const std::vector<Screen>& screens_at_sleep() const { return screens_; }

 private:
  uint64_t slept_ms_ = 0;
  uint64_t present_count_ = 0;
  std::vector<Screen> screens_;
  ScopedHost installed_;  // last: installed once the rest is ready, uninstalled first
};

// What follows the scripted keys: more keys may come, or input ends after the last of them.
enum class ScriptEnd { KeepOpen, EndOfInput };

// Queues each byte of `keys` (code page 852) as a plain key; "\r" is Enter.
void script_keys(std::string_view keys, ScriptEnd end = ScriptEnd::KeepOpen);
// Queues keys that may be extended, e.g. {{scan::kLeft, true}} for the Left arrow.
void script_key_events(const std::vector<KeyEvent>& keys, ScriptEnd end = ScriptEnd::KeepOpen);
