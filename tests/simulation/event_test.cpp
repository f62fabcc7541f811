// SPDX-License-Identifier: MIT
// Manual- and automatic-reset events, and closing them under waiting threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "simulation/event.h"

namespace kelpa {
namespace {

// Polls until the condition holds or ten seconds pass.
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Threads that wait on an event and count how many came back, and how many saw it set.
class Waiters {
 public:
  Waiters(TEvent& event, int count) : event_(event) {
    for (int i = 0; i < count; ++i) {
      threads_.emplace_back([this] {
        const bool wasSet = event_.Wait();
        setCount += wasSet ? 1 : 0;
        returned += 1;
      });
    }
  }
  // Closing releases any thread still blocked, so the test never hangs on a failed check.
  ~Waiters() {
    event_.Close();
    for (std::thread& thread : threads_) {
      thread.join();
    }
  }
  std::atomic<int> returned{0};
  std::atomic<int> setCount{0};

 private:
  TEvent& event_;
  std::vector<std::thread> threads_;
};

TEST(EventTest, ManualResetStaysSetAndAutomaticResetCollapsesSets) {
  TEvent manual(true, true);
  EXPECT_TRUE(manual.Wait());
  EXPECT_TRUE(manual.Wait());
  manual.Reset();
  EXPECT_FALSE(manual.IsSet());

  TEvent automatic(false, false);
  automatic.Set();
  automatic.Set();
  EXPECT_TRUE(automatic.Wait());
  EXPECT_FALSE(automatic.IsSet());
}

TEST(EventTest, AutomaticResetReleasesOneWaiterPerSet) {
  TEvent event(false, false);
  Waiters waiters(event, 2);
  event.Set();
  ASSERT_TRUE(Eventually([&] { return waiters.returned == 1; }));
  EXPECT_FALSE(event.IsSet());  // taken by the one waiter it released
  event.Set();
  ASSERT_TRUE(Eventually([&] { return waiters.returned == 2; }));
  EXPECT_EQ(waiters.setCount, 2);
}

TEST(EventTest, ManualResetReleasesEveryWaiter) {
  TEvent event(true, false);
  Waiters waiters(event, 3);
  event.Set();
  ASSERT_TRUE(Eventually([&] { return waiters.returned == 3; }));
  EXPECT_EQ(waiters.setCount, 3);
  EXPECT_TRUE(event.IsSet());
}

TEST(EventTest, CloseReleasesBlockedWaitersAndLaterWaitsReturnAtOnce) {
  TEvent stopped(true, false);
  TEvent tick(false, false);
  {
    Waiters onStopped(stopped, 2);
    Waiters onTick(tick, 1);
    stopped.Close();
    tick.Close();
    ASSERT_TRUE(Eventually([&] { return onStopped.returned == 2 && onTick.returned == 1; }));
    EXPECT_EQ(onStopped.setCount, 0);
    EXPECT_EQ(onTick.setCount, 0);
  }
  EXPECT_TRUE(stopped.IsClosed());
  tick.Set();
  EXPECT_FALSE(tick.Wait());
  EXPECT_FALSE(stopped.Wait());
}

}  // namespace
}  // namespace kelpa
