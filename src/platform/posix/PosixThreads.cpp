#include <condition_variable>
#include <thread>

#include "platform/Threads.h"

namespace tarn::platform {

struct Mutex::State {
  std::mutex mutex;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { state_->mutex.lock(); }
void Mutex::unlock() { state_->mutex.unlock(); }

struct Condition::State {
  std::condition_variable condition;
};

Condition::Condition() : state_(std::make_unique<State>()) {}
Condition::~Condition() = default;

void Condition::Wait(Lock& lock) {
  std::unique_lock<std::mutex> inner(lock.mutex()->state_->mutex, std::adopt_lock);
  state_->condition.wait(inner);
  inner.release();
}

void Condition::NotifyOne() { state_->condition.notify_one(); }
void Condition::NotifyAll() { state_->condition.notify_all(); }

struct Thread::State {
  std::thread thread;
};

Thread::Thread() = default;
Thread::Thread(std::function<void()> body)
    : state_(std::make_unique<State>(State{std::thread(std::move(body))})) {}
Thread::~Thread() { Join(); }
Thread::Thread(Thread&& other) noexcept = default;

Thread& Thread::operator=(Thread&& other) noexcept {
  if (this != &other) {
    Join();
    state_ = std::move(other.state_);
  }
  return *this;
}

void Thread::Join() {
  if (!state_) return;
  state_->thread.join();
  state_.reset();
}

unsigned ProcessorCount() {
  const unsigned count = std::thread::hardware_concurrency();
  return count == 0 ? 1 : count;
}

}  // namespace tarn::platform
