#include <windows.h>

#include <process.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/Threads.h"

namespace tarn::platform {

struct Mutex::State {
  CRITICAL_SECTION section;
};

Mutex::Mutex() : state_(std::make_unique<State>()) { InitializeCriticalSection(&state_->section); }
Mutex::~Mutex() { DeleteCriticalSection(&state_->section); }
void Mutex::lock() { EnterCriticalSection(&state_->section); }
void Mutex::unlock() { LeaveCriticalSection(&state_->section); }

// Each waiter sleeps on an event of its own, listed while it still holds the caller's lock; a
// notification sets the listed events. Events are kept for the next waits: under Wine every
// new one is a trip to the server.
struct Condition::State {
  Mutex guard;
  std::vector<HANDLE> waiting;
  std::vector<HANDLE> spare;

  ~State() {
    for (HANDLE event : spare) CloseHandle(event);
  }
};

Condition::Condition() : state_(std::make_unique<State>()) {}
Condition::~Condition() = default;

void Condition::Wait(Lock& lock) {
  HANDLE event = nullptr;
  {
    const std::lock_guard<Mutex> guard(state_->guard);
    if (!state_->spare.empty()) {
      event = state_->spare.back();
      state_->spare.pop_back();
    }
  }
  if (event == nullptr) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (event == nullptr) {
    // No event to sleep on: a short nap, and the waiter looks again.
    lock.unlock();
    Sleep(1);
    lock.lock();
    return;
  }
  {
    const std::lock_guard<Mutex> guard(state_->guard);
    state_->waiting.push_back(event);
  }
  lock.unlock();
  WaitForSingleObject(event, INFINITE);
  lock.lock();
  const std::lock_guard<Mutex> guard(state_->guard);
  state_->spare.push_back(event);
}

void Condition::NotifyOne() {
  const std::lock_guard<Mutex> guard(state_->guard);
  if (state_->waiting.empty()) return;
  SetEvent(state_->waiting.front());
  state_->waiting.erase(state_->waiting.begin());
}

void Condition::NotifyAll() {
  const std::lock_guard<Mutex> guard(state_->guard);
  for (HANDLE event : state_->waiting) SetEvent(event);
  state_->waiting.clear();
}

struct Thread::State {
  HANDLE handle;
};

namespace {

unsigned __stdcall RunBody(void* parameter) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

Thread::Thread() = default;

Thread::Thread(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  // The runtime's own start, so that its per-thread data is set up for the body.
  const std::uintptr_t handle = _beginthreadex(nullptr, 0, &RunBody, owned.get(), 0, nullptr);
  if (handle == 0) std::abort();
  owned.release();  // the thread owns it now
  state_ = std::make_unique<State>(State{reinterpret_cast<HANDLE>(handle)});
}

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
  WaitForSingleObject(state_->handle, INFINITE);
  CloseHandle(state_->handle);
  state_.reset();
}

unsigned ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors == 0 ? 1 : static_cast<unsigned>(info.dwNumberOfProcessors);
}

}  // namespace tarn::platform
