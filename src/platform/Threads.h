#pragma once
// Threads, a mutex and a condition for the few places that run work beside the user interface.
// On Windows they are the system's own objects: the runtime library's versions bring a whole
// POSIX-threads layer into the stub, and that layer needs a newer Windows than the stub does.

#include <functional>
#include <memory>
#include <mutex>

namespace tarn::platform {

class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  // The standard names, so that std::lock_guard and std::unique_lock take it.
  void lock();
  void unlock();

 private:
  friend class Condition;
  struct State;
  std::unique_ptr<State> state_;
};

using Lock = std::unique_lock<Mutex>;

// Waits end when told to, and never are lost: a waiter is counted before its lock is let go.
// A wait may also end early, so the waiter looks at what it waits for again.
class Condition {
 public:
  Condition();
  ~Condition();
  Condition(const Condition&) = delete;
  Condition& operator=(const Condition&) = delete;

  void Wait(Lock& lock);
  template <typename Ready>
  void Wait(Lock& lock, Ready ready) {
    while (!ready()) Wait(lock);
  }
  void NotifyOne();
  void NotifyAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A thread that cannot be started ends the program, as the library's thread does.
class Thread {
 public:
  Thread();
  explicit Thread(std::function<void()> body);
  // Joins first: a thread object never leaves its thread running unowned.
  ~Thread();
  Thread(Thread&& other) noexcept;
  Thread& operator=(Thread&& other) noexcept;

  bool Joinable() const { return state_ != nullptr; }
  void Join();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// How many threads can run at once on this machine; at least 1.
unsigned ProcessorCount();

}  // namespace tarn::platform
