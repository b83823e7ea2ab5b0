#pragma once
// Package streams decoded on threads of their own, ahead of the entry that is being committed.
// A job writes one stream to its staged file and nothing else: whether the file is used, and
// everything the user or the journal can see, stays with the caller, in the entries' order.
// Each decoder has its own reader and so its own handle on the volume; memory is the readers'
// buffers and dictionaries, whatever the size of the entries.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Threads.h"

namespace tarn::engine {

struct DecodeJob {
  std::string volumePath;
  std::int64_t position = 0;  // of the stream in that volume's file
  std::int64_t size = 0;
  bool stored = false;
  std::string staged;                       // the file the stream is written to
  std::optional<platform::FileTime> stamp;  // its times once it is whole
};

class DecodeAhead {
 public:
  // `discard` takes away a staged file that was written and not taken.
  DecodeAhead(platform::FileSystem& files, std::uint32_t codePage, unsigned threads,
              std::function<void(const std::string&)> discard);
  // Stops the decoders and discards every staged file that was written and not taken.
  ~DecodeAhead();
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  void Queue(std::size_t id, DecodeJob job);
  bool Queued(std::size_t id) const;
  // Waits for job `id`: true when its staged file is whole, which is the caller's from then on.
  bool Take(std::size_t id);

 private:
  enum class State { Pending, Running, Whole, Failed };
  struct Slot {
    DecodeJob job;
    State state = State::Pending;
  };

  void Decoder();

  platform::FileSystem& files_;
  const std::uint32_t codePage_;
  const unsigned threadCount_;
  const std::function<void(const std::string&)> discard_;
  mutable platform::Mutex mutex_;
  platform::Condition work_;
  platform::Condition done_;
  std::map<std::size_t, Slot> slots_;
  std::deque<std::size_t> pending_;
  bool closing_ = false;
  // Also the decoders' "extraction over": a stream being written stops at once.
  std::atomic<bool> stop_{false};
  std::vector<platform::Thread> threads_;
};

}  // namespace tarn::engine
