// The key queue: producers on any thread, one consumer on the logic thread.
//
// A mutex guards the queue, the end-of-input flag and the setting of the wake request; a
// condition variable wakes the waiting read_key. `queued` mirrors the queue's length in an atomic
// so that key_pressed, which the step loop calls every turn, is one atomic load and takes no lock.
// The second half of an extended key (its scan code after the 0 prefix) is held by the consumer
// alone, outside the queue. The host's key wait and idle hook (host.h) run without the lock.
#include "services/console/keyboard.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "services/program/run_time_error.h"

namespace {

std::mutex queue_lock;
std::condition_variable queue_changed;
std::deque<KeyEvent> queue;             // guarded by queue_lock
std::atomic<bool> wake_requested{false};  // set under queue_lock; polled without it
std::atomic<std::size_t> queued{0};     // queue.size(), readable without the lock
std::atomic<bool> input_ended{false};   // no key will be pushed after those queued

// Logic thread only: the scan code still owed after an extended key's 0.
bool second_half_pending = false;
uint8_t second_half = 0;

// Takes the front key; the caller holds queue_lock and has checked that one is there.
uint8_t take_front() {
  const KeyEvent key = queue.front();
  queue.pop_front();
  queued.store(queue.size(), std::memory_order_release);
  if (!key.extended) return key.code;
  second_half_pending = true;
  second_half = key.code;
  return 0;
}

void run_idle_hook() {
  if (host().idle_hook) host().idle_hook();
}

// What ends a wait on the queue; the caller holds queue_lock.
bool queue_wait_over() {
  return !queue.empty() || wake_requested || input_ended.load(std::memory_order_acquire);
}

// Blocks on the queue until a key, the end of input or a wake-up comes (true), or until
// `deadline` on the steady clock passes first (false); the caller holds queue_lock in `lock`.
bool wait_on_queue(std::unique_lock<std::mutex>& lock, HostTime deadline) {
  if (deadline == kNoDeadline) {
    queue_changed.wait(lock, queue_wait_over);
    return true;
  }
  const std::chrono::steady_clock::time_point due(
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline));
  return queue_changed.wait_until(lock, due, queue_wait_over);
}

// Waits through the host's key wait, or else on the condition variable (no polling); after
// every wake-up, whatever its cause, the idle hook runs before the key is returned or the wait
// resumes. Returns the key, or kInputEnded when input has ended and nothing is left.
int wait_and_take() {
  if (second_half_pending) {
    second_half_pending = false;
    return second_half;
  }
  std::unique_lock<std::mutex> lock(queue_lock);
  for (;;) {
    if (!queue.empty()) return take_front();
    if (input_ended.load(std::memory_order_acquire)) return kInputEnded;
    if (host().await_key) {
      lock.unlock();
      host().await_key(kNoDeadline);
    } else {
      wait_on_queue(lock, kNoDeadline);
      wake_requested = false;
      lock.unlock();
    }
    run_idle_hook();
    lock.lock();
  }
}

}  // namespace

void push_key(KeyEvent key) {
  {
    std::lock_guard<std::mutex> lock(queue_lock);
    queue.push_back(key);
    queued.store(queue.size(), std::memory_order_release);
  }
  queue_changed.notify_one();
}

void push_end_of_input() {
  {
    std::lock_guard<std::mutex> lock(queue_lock);
    input_ended.store(true, std::memory_order_release);
  }
  queue_changed.notify_one();
}

void wake_key_wait() {
  {
    std::lock_guard<std::mutex> lock(queue_lock);
    wake_requested = true;
  }
  queue_changed.notify_one();
}

void serve_pending_wake_up() {
  if (!wake_requested.load(std::memory_order_acquire)) return;
  wake_requested.store(false, std::memory_order_relaxed);
  run_idle_hook();
}

bool key_pressed() {
  return second_half_pending || queued.load(std::memory_order_acquire) > 0;
}

uint8_t read_key() {
  const int key = wait_and_take();
  if (key == kInputEnded) raise_run_time_error(kErrorReadPastEnd);
  return static_cast<uint8_t>(key);
}

int read_key_or_end() { return wait_and_take(); }

// The host's wait may return early, so it is asked again until the wait is over. The queue's
// own wait serves a wake-up (the idle hook) and goes on waiting.
void wait_for_key_until(HostTime deadline) {
  if (key_pressed()) return;
  if (host().await_key) {
    while (!key_pressed() && !input_ended.load(std::memory_order_acquire) &&
           host_now() < deadline) {
      host().await_key(deadline);
    }
    return;
  }
  std::unique_lock<std::mutex> lock(queue_lock);
  for (;;) {
    if (!wait_on_queue(lock, deadline)) return;  // the deadline passed
    if (!queue.empty() || input_ended.load(std::memory_order_acquire)) return;
    wake_requested = false;
    lock.unlock();
    run_idle_hook();
    lock.lock();
  }
}

// The flag is read first: every key pushed before the end is then visible to key_pressed.
bool end_of_input() {
  return input_ended.load(std::memory_order_acquire) && !key_pressed();
}

void reset_keyboard() {
  std::lock_guard<std::mutex> lock(queue_lock);
  queue.clear();
  queued.store(0, std::memory_order_release);
  input_ended.store(false, std::memory_order_release);
  wake_requested = false;
  second_half_pending = false;
  second_half = 0;
}
