// The threads, mutex and condition the worker and the decoders share: natively the library's,
// under Wine the system's own objects behind the same interface.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "platform/Threads.h"

namespace tarn::platform {

TEST(Threads, HandOverEveryItemOnceAndJoinOnEveryWayOut) {
  constexpr int kProducers = 3, kConsumers = 3, kItems = 2000;
  Mutex mutex;
  Condition ready, roomy;
  std::deque<int> queue;
  int producersLeft = kProducers;
  std::vector<long long> taken(kConsumers, 0);
  std::vector<int> counts(kConsumers, 0);
  {
    std::vector<Thread> threads;
    for (int c = 0; c < kConsumers; ++c) {
      threads.emplace_back([&, c] {
        Lock lock(mutex);
        for (;;) {
          ready.Wait(lock, [&] { return !queue.empty() || producersLeft == 0; });
          if (queue.empty()) return;
          taken[c] += queue.front();
          ++counts[c];
          queue.pop_front();
          roomy.NotifyOne();
        }
      });
    }
    for (int p = 0; p < kProducers; ++p) {
      threads.emplace_back([&, p] {
        for (int i = 1; i <= kItems; ++i) {
          Lock lock(mutex);
          roomy.Wait(lock, [&] { return queue.size() < 4; });
          queue.push_back(p * kItems + i);
          ready.NotifyOne();
        }
        const std::lock_guard<Mutex> lock(mutex);
        if (--producersLeft == 0) ready.NotifyAll();
      });
    }
    // Moved, and assigned over a running thread: each is still joined exactly once.
    Thread moved = std::move(threads.back());
    threads.back() = std::move(moved);
    EXPECT_FALSE(moved.Joinable());
    EXPECT_TRUE(threads.back().Joinable());
  }  // the threads join here
  long long sum = 0;
  int count = 0;
  for (int c = 0; c < kConsumers; ++c) sum += taken[c], count += counts[c];
  const long long n = kProducers * kItems;
  EXPECT_EQ(count, n);
  EXPECT_EQ(sum, n * (n + 1) / 2);
  EXPECT_TRUE(queue.empty());
  EXPECT_GE(ProcessorCount(), 1u);
}

}  // namespace tarn::platform
