// The key queue: producers on any thread, one consumer on the logic thread.
//
// A mutex guards the queue, the end-of-input flag and the wake request; a condition variable
// wakes the waiting read_key. `queued` mirrors the queue's length in an atomic so that
// key_pressed, which the step loop calls every turn, is one atomic load and takes no lock.
// The second half of an extended key (its scan code after the 0 prefix) is held by the consumer
// alone, outside the queue.
#include "services/console/keyboard.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

#include "services/run_time_error.h"

namespace {

std::mutex queue_lock;
std::condition_variable queue_changed;
std::deque<KeyEvent> queue;             // guarded by queue_lock
bool wake_requested = false;            // guarded by queue_lock
std::function<void()> idle_hook;        // guarded by queue_lock
void (*wait_function)() = nullptr;      // the host's own wait; logic thread only
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
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> lock(queue_lock);
    hook = idle_hook;
  }
  if (hook) hook();
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

bool key_pressed() {
  return second_half_pending || queued.load(std::memory_order_acquire) > 0;
}

// Waits on the condition variable (no polling); after every wake-up, whatever its cause, the
// idle hook runs before the key is returned or the wait resumes.
uint8_t read_key() {
  if (second_half_pending) {
    second_half_pending = false;
    return second_half;
  }
  std::unique_lock<std::mutex> lock(queue_lock);
  for (;;) {
    if (!queue.empty()) return take_front();
    if (input_ended.load(std::memory_order_acquire)) raise_run_time_error(kErrorReadPastEnd);
    if (wait_function != nullptr) {
      lock.unlock();
      wait_function();
      run_idle_hook();
      lock.lock();
      continue;
    }
    queue_changed.wait(lock, [] {
      return !queue.empty() || wake_requested || input_ended.load(std::memory_order_acquire);
    });
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

void set_key_wait_idle_hook(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(queue_lock);
  idle_hook = std::move(hook);
}

void set_key_wait_function(void (*wait)()) { wait_function = wait; }

void reset_keyboard() {
  std::lock_guard<std::mutex> lock(queue_lock);
  queue.clear();
  queued.store(0, std::memory_order_release);
  input_ended.store(false, std::memory_order_release);
  wake_requested = false;
  second_half_pending = false;
  second_half = 0;
}
