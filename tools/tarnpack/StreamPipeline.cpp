#include "tarnpack/StreamPipeline.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace tarnpack {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReportInterval = std::chrono::milliseconds(250);
constexpr std::size_t kCopyPiece = 1 << 16;

struct PendingStream {
  std::deque<std::vector<std::uint8_t>> chunks;
  bool done = false;
  std::string error;
};

class Pipeline {
 public:
  Pipeline(const std::vector<StreamSource>& sources, const PipelineOptions& options)
      : sources_(sources), options_(options), streams_(sources.size()) {}

  // Stops and joins the workers on every way out.
  ~Pipeline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      abort_ = true;
    }
    waiting_.notify_all();
    for (auto& t : workers_) t.join();
  }

  bool Run(const ByteSink& sink, const std::function<void(std::size_t)>& streamEnd,
           std::string& error);

 private:
  void Work();
  bool Produce(std::size_t index);
  bool Push(std::size_t index, const std::uint8_t* data, std::size_t size);
  void Report(bool last);

  const std::vector<StreamSource>& sources_;
  const PipelineOptions& options_;
  std::vector<std::thread> workers_;

  std::mutex mutex_;
  std::condition_variable produced_;  // a stream got bytes or ended
  std::condition_variable waiting_;   // the head moved or buffered bytes were taken
  std::vector<PendingStream> streams_;
  std::size_t next_ = 0;  // the next source a worker takes
  std::size_t head_ = 0;  // the source being written out
  std::uint64_t buffered_ = 0;
  bool abort_ = false;

  std::atomic<std::uint64_t> bytesRead_{0};
  Clock::time_point lastReport_ = Clock::now();
};

bool Pipeline::Push(std::size_t index, const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> chunk(data, data + size);
  std::unique_lock<std::mutex> lock(mutex_);
  // Only streams behind the head wait; the head is drained by the writer, so some thread always
  // makes progress.
  waiting_.wait(lock,
                [&] { return abort_ || index == head_ || buffered_ < options_.waitingBytes; });
  if (abort_) return false;
  buffered_ += size;
  streams_[index].chunks.push_back(std::move(chunk));
  lock.unlock();
  produced_.notify_all();
  return true;
}

bool Pipeline::Produce(std::size_t index) {
  const StreamSource& source = sources_[index];
  std::string error;
  bool ok = false;
  try {
    std::ifstream in(source.path, std::ios::binary);
    const ByteSink push = [&](const std::uint8_t* data, std::size_t size) {
      return Push(index, data, size);
    };
    const ReadProgress read = [this](std::size_t n) { bytesRead_ += n; };
    if (!in) {
      error = "cannot open the file";
    } else if (source.stored) {
      std::vector<std::uint8_t> piece(kCopyPiece);
      std::uint64_t left = source.size;
      ok = true;
      while (ok && left > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
        in.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in.gcount()) != n) {
          error = "the file is shorter than it was a moment ago";
          ok = false;
        } else {
          read(n);
          ok = push(piece.data(), n);
        }
        left -= n;
      }
    } else {
      ok = WriteLzmaStream(in, source.size, push, error, read);
    }
  } catch (const std::bad_alloc&) {
    error = "out of memory";
    ok = false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    PendingStream& s = streams_[index];
    s.done = true;
    if (!ok) s.error = error.empty() ? "cannot write the package" : error;
  }
  produced_.notify_all();
  return ok;
}

void Pipeline::Work() {
  for (;;) {
    std::size_t index;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (abort_ || next_ >= sources_.size()) return;
      index = next_++;
    }
    Produce(index);
  }
}

void Pipeline::Report(bool last) {
  if (!options_.progress) return;
  const auto now = Clock::now();
  if (!last && now - lastReport_ < kReportInterval) return;
  lastReport_ = now;
  BuildProgress p;
  p.files = sources_.size();
  p.filesDone = head_;
  for (const auto& s : sources_) p.bytes += s.size;
  p.bytesDone = std::min(bytesRead_.load(), p.bytes);
  options_.progress(p);
}

bool Pipeline::Run(const ByteSink& sink, const std::function<void(std::size_t)>& streamEnd,
                   std::string& error) {
  const std::size_t threads = std::min<std::size_t>(std::max(options_.threads, 1u),
                                                    std::max<std::size_t>(sources_.size(), 1));
  // A system out of threads still gets its package from as many as it gave.
  try {
    for (std::size_t t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
  }
  if (workers_.empty()) {
    error = "cannot start a compressing thread";
    return false;
  }

  Report(false);
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    for (;;) {
      std::deque<std::vector<std::uint8_t>> chunks;
      bool done = false;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        PendingStream& s = streams_[i];
        produced_.wait_for(lock, kReportInterval, [&] { return !s.chunks.empty() || s.done; });
        chunks.swap(s.chunks);
        for (const auto& c : chunks) buffered_ -= c.size();
        done = s.done;
        if (done) {
          if (!s.error.empty()) {
            error = sources_[i].path + ": " + s.error;
            return false;
          }
          head_ = i + 1;
        }
      }
      waiting_.notify_all();
      for (const auto& c : chunks) {
        if (!sink(c.data(), c.size())) {
          error = sources_[i].path + ": cannot write the package";
          return false;
        }
      }
      Report(false);
      if (done) break;
    }
    streamEnd(i);
  }
  Report(true);
  return true;
}

}  // namespace

bool WriteStreams(const std::vector<StreamSource>& sources, const PipelineOptions& options,
                  const ByteSink& sink, const std::function<void(std::size_t)>& streamEnd,
                  std::string& error) {
  Pipeline pipeline(sources, options);
  return pipeline.Run(sink, streamEnd, error);
}

}  // namespace tarnpack
