// The key queue: order, extended keys, end of input and waking a waiting read_key.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "services/console/keyboard.h"
#include "services/program/run_time_error.h"

namespace {

TEST(Keyboard, ExtendedKeyIsZeroThenItsScanCode) {
  reset_keyboard();
  EXPECT_FALSE(key_pressed());
  push_key({'a', false});
  push_key({scan::kUp, true});
  push_key({'b', false});
  EXPECT_EQ(read_key(), 'a');
  EXPECT_EQ(read_key(), 0);
  EXPECT_TRUE(key_pressed());  // the second half is still waiting
  EXPECT_EQ(read_key(), scan::kUp);
  EXPECT_EQ(read_key(), 'b');
  EXPECT_FALSE(key_pressed());
}

TEST(Keyboard, EndOfInputComesAfterTheLastKeyAndThenReadStopsWith100) {
  reset_keyboard();
  push_key({scan::kF1, true});
  push_end_of_input();
  EXPECT_FALSE(end_of_input());
  EXPECT_EQ(read_key(), 0);
  EXPECT_FALSE(end_of_input());
  EXPECT_EQ(read_key(), scan::kF1);
  EXPECT_TRUE(end_of_input());
  try {
    read_key();
    FAIL() << "read_key returned after the end of input";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.code(), kErrorReadPastEnd);
  }
  reset_keyboard();
  EXPECT_FALSE(end_of_input());
}

TEST(Keyboard, WaitingReadGetsKeysFromAnotherThreadInOrder) {
  reset_keyboard();
  constexpr int kCount = 20000;
  std::thread producer([] {
    for (int i = 0; i < kCount; ++i) push_key({static_cast<uint8_t>(i % 251), false});
  });
  int out_of_order = 0;
  for (int i = 0; i < kCount; ++i) out_of_order += read_key() != i % 251;
  producer.join();
  EXPECT_EQ(out_of_order, 0);
  EXPECT_FALSE(key_pressed());
}

TEST(Keyboard, WakeRunsTheIdleHookWhileReadKeyWaits) {
  reset_keyboard();
  std::atomic<int> hook_calls{0};
  const ScopedHost hosted([&hook_calls](Host& record) {
    record.idle_hook = [&hook_calls] {
      if (hook_calls++ == 0) push_key({'k', false});
    };
  });
  std::thread waker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    wake_key_wait();
  });
  EXPECT_EQ(read_key(), 'k');
  waker.join();
  EXPECT_GE(hook_calls.load(), 1);
}

}  // namespace
