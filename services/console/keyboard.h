// The one key queue of the process.
//
// Keys enter from any thread (the terminal reader, the graphics window, a test script) as
// KeyEvents and are taken by the logic thread with key_pressed / read_key. An extended key
// (arrows, function keys, the cursor block, keypad Enter and /, Alt combinations) is read as two
// codes: 0 first, then its scan code. key_pressed costs one atomic load when the queue is empty,
// so the step loop can ask every turn without a system call.
//
// Input can end (standard input that is a pipe or a file reaching its end). After the last
// queued key, end_of_input() becomes true and read_key() throws run-time error 100: callers that
// must go on (the page prompt, the run-key wait) test end_of_input() first.
//
// Waiting for a key (read_key, wait_for_key_until) goes through the host's key wait (host.h);
// with none installed it blocks on the queue's condition variable. read_key runs the host's
// idle hook after every wake-up, whatever its cause, and looks again; wait_for_key_until runs it
// when wake_key_wait ends its wait on the queue. Ctrl-C is no key: the host's interrupt ends the
// program (host.h).
#pragma once

#include <cstdint>

#include "services/console/pc_keys.h"
#include "services/program/host.h"

struct KeyEvent {
  uint8_t code = 0;       // the character (code page 852), or the scan code of an extended key
  bool extended = false;  // read as 0, then `code`
};

// Any thread: appends a key and wakes a waiting read_key.
void push_key(KeyEvent key);
// Any thread: no more keys will come after those queued.
void push_end_of_input();
// Any thread: wakes a waiting read_key without a key, so that it runs the host's idle hook.
void wake_key_wait();

// True when a key (or the second half of an extended key) is waiting. Never blocks.
bool key_pressed();
// Waits for a key and takes it: a character, or 0 and then the scan code of an extended key.
// Throws RunTimeError(100) when input has ended and nothing is left.
uint8_t read_key();
// True when input has ended and no key is left to read.
bool end_of_input();

// What read_key_or_end returns when input ends before a key comes.
constexpr int kInputEnded = -2;
// Waits for a key and takes it as read_key does, or returns kInputEnded when input has ended,
// also while it waits.
int read_key_or_end();

// Waits until a key is waiting, input has ended, or `deadline` (on the host's clock) has passed;
// takes nothing.
void wait_for_key_until(HostTime deadline);

// Logic thread: runs the host's idle hook when a wake-up came that no key wait has served. The
// running modes, which never wait for a key, call it every turn; one atomic load when none came.
void serve_pending_wake_up();

// Empties the queue and forgets end of input (program entry and tests).
void reset_keyboard();
