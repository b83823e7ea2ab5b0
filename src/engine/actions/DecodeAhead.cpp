#include "engine/actions/DecodeAhead.h"

#include <cstdint>

#include "package/PackageReader.h"

namespace tarn::engine {

DecodeAhead::DecodeAhead(platform::FileSystem& files, std::uint32_t codePage, unsigned threads,
                         std::function<void(const std::string&)> discard)
    : files_(files), codePage_(codePage), threadCount_(threads), discard_(std::move(discard)) {}

DecodeAhead::~DecodeAhead() {
  {
    std::lock_guard<platform::Mutex> lock(mutex_);
    closing_ = true;
    stop_ = true;
  }
  work_.NotifyAll();
  for (auto& thread : threads_) thread.Join();
  // A stream that was stopped half-way is removed by its reader; only whole ones are left.
  for (const auto& [id, slot] : slots_) {
    if (slot.state == State::Whole) discard_(slot.job.staged);
  }
}

void DecodeAhead::Queue(std::size_t id, DecodeJob job) {
  {
    std::lock_guard<platform::Mutex> lock(mutex_);
    slots_[id].job = std::move(job);
    pending_.push_back(id);
    // Decoders start as work comes, up to their number: a short list needs few of them.
    if (threads_.size() < threadCount_) threads_.emplace_back([this] { Decoder(); });
  }
  work_.NotifyOne();
}

bool DecodeAhead::Queued(std::size_t id) const {
  std::lock_guard<platform::Mutex> lock(mutex_);
  return slots_.count(id) != 0;
}

bool DecodeAhead::Take(std::size_t id) {
  platform::Lock lock(mutex_);
  const auto found = slots_.find(id);
  if (found == slots_.end()) return false;
  done_.Wait(lock, [&] {
    return found->second.state == State::Whole || found->second.state == State::Failed;
  });
  const bool whole = found->second.state == State::Whole;
  slots_.erase(found);
  return whole;
}

void DecodeAhead::Decoder() {
  package::PackageReader reader(files_, stop_, codePage_);
  // Every job's stream lies wholly in its volume: this reader never moves on to another.
  reader.SetCapacity(INT64_MAX);
  std::string openVolume;
  platform::Lock lock(mutex_);
  for (;;) {
    work_.Wait(lock, [&] { return closing_ || !pending_.empty(); });
    if (closing_) return;
    const std::size_t id = pending_.front();
    pending_.pop_front();
    Slot& slot = slots_[id];
    slot.state = State::Running;
    const DecodeJob job = slot.job;
    lock.unlock();

    if (openVolume != job.volumePath) {
      openVolume.clear();
      if (reader.OpenVolume(job.volumePath, false)) openVolume = job.volumePath;
    }
    const bool whole = !openVolume.empty() && reader.ExtractEntry(job.staged, job.position,
                                                                  job.size, job.stored, job.stamp);

    lock.lock();
    // The slot is still there: only Take removes one, and only once it is over.
    Slot& over = slots_[id];
    over.state = whole ? State::Whole : State::Failed;
    done_.NotifyAll();
  }
}

}  // namespace tarn::engine
