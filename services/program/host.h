// The host record: what an edition gives the core, in one place.
//
// The core knows no terminal, window or browser. Each edition (and each test driver) fills in
// one Host: the console backend that shows the text console, the presenter that shows the
// graphics surface, its own way to wait for a key, the idle hook, the interrupt, the turn hook
// and its clock. An empty field means the core's own default, given beside each field.
//
// Who writes it: the program entry of each edition, once, before the program logic starts
// (install_host), and again when the program has ended (clear_host); a tool that runs the logic
// itself (tests/programs/) does the same. Tests and benchmarks change fields for a scope through
// ScopedHost, which puts the record in force before back when the scope ends.
//
// Threads: the logic thread reads every field; `interrupt` is read on two more threads, the
// terminal's reader thread and the window thread (Ctrl-C typed there). The page has one thread.
// The record is written only while no thread that reads it runs: the desktop installs it before
// it starts the logic thread and the terminal's reader thread and enters the window loop, and
// clears it after all three have ended. Starting and joining a thread order the write before
// every read, so the fields need neither lock nor atomics; the reading threads only call the
// installed functions, and std::function's call is const, safe from several threads at once.
// Tests keep to the same rule: they change the record only while no other thread runs.
//
// Time: HostTime is a duration since any origin on the host's clock. A key wait's deadline is
// given on that clock; kNoDeadline waits for a key for as long as it takes.
#pragma once

#include <chrono>
#include <functional>

class ConsoleBackend;
class Presenter;

using HostTime = std::chrono::nanoseconds;
constexpr HostTime kNoDeadline = HostTime::max();

struct Host {
  // Shows the console model and sleeps (console.h). Empty: the model alone, real sleeps.
  ConsoleBackend* console = nullptr;
  // Opens and closes the surface's window (presenter.h). Empty: open_graphics fails.
  Presenter* presenter = nullptr;
  // The host's wait for a key: returns when a key is queued, input has ended or the deadline
  // has come, and may return earlier (the caller looks again). A host whose logic must not
  // block (the web page) or that hands in keys itself (a test driver) gives one. Empty: the key
  // queue blocks on its condition variable, with deadlines on the steady clock, so a host with
  // a clock of its own gives its own wait too.
  std::function<void(HostTime deadline)> await_key;
  // Runs on the logic thread after a key wait wakes up (keyboard.h says when); the terminal
  // redraws after a resize. Empty: nothing.
  std::function<void()> idle_hook;
  // Ctrl-C, typed in the terminal, the window or the page: ends the program at once (the
  // desktop exits; the page drops the waiting program and never wakes it again). Empty:
  // interrupt_program answers false and the caller ends the program its own way.
  std::function<void()> interrupt;
  // Called by the step loop after every turn that made a step (the page gives the browser its
  // turn, a test driver counts turns). A plain pointer: the loop pays one load and one branch a
  // turn for it. Empty: nothing.
  void (*turn_hook)() = nullptr;
  // The host's clock, read by the pace of normal running. Empty: the steady clock.
  std::function<HostTime()> clock;
};

namespace host_detail {
extern Host installed;
}

// The record in force.
inline const Host& host() { return host_detail::installed; }

// Program entry: installs the edition's record before the logic starts.
void install_host(Host record);
// Program entry: back to the empty record once the program has ended.
void clear_host();

// Now on the host's clock.
HostTime host_now();
// Now on the steady clock: the default clock, and the desktop's.
HostTime steady_clock_now();

// Any thread: calls the host's interrupt; false when the host has none.
bool interrupt_program();

// Called by the step loop after every turn that made a step.
inline void end_of_turn() {
  if (host().turn_hook != nullptr) host().turn_hook();
}

// Tests, benchmarks and tools: the record in force with some fields changed, for a scope.
// Scopes end in the reverse order of their start, as C++ scopes do.
class ScopedHost {
 public:
  // Installs a copy of the record in force with `change` applied to it.
  explicit ScopedHost(const std::function<void(Host&)>& change);
  // Puts the record in force before back.
  ~ScopedHost();
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  Host previous_;
};
