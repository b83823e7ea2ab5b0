#pragma once
// Turns the package's source files into their streams on several threads and hands the streams
// to one sink strictly in file-list order, so the package's bytes never depend on how many
// threads made them. Memory stays bounded whatever the payload: a stream that is not yet next in
// line may buffer only a limited amount before its thread waits; the stream being written out
// never waits, so the pipeline always moves on.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tarnpack/LzmaStreamWriter.h"

namespace tarnpack {

struct StreamSource {
  std::string path;
  std::uint64_t size = 0;  // bytes taken from the file; a shorter file fails the build
  bool stored = false;     // copied as it is instead of compressed
};

struct BuildProgress {
  std::size_t filesDone = 0;  // streams written out completely
  std::size_t files = 0;
  std::uint64_t bytesDone = 0;  // source bytes read so far
  std::uint64_t bytes = 0;
};

using ProgressReport = std::function<void(const BuildProgress&)>;

struct PipelineOptions {
  unsigned threads = 1;
  // Compressed bytes the streams waiting for their turn may hold together.
  std::uint64_t waitingBytes = std::uint64_t{64} << 20;
  ProgressReport progress;  // called now and then on the writing thread, and once at the end
};

// Writes the stream of every source through `sink`, in order, and calls `streamEnd(i)` once the
// whole stream of source i has gone through it. On failure `error` names the first source (in
// list order) that failed, or the sink.
bool WriteStreams(const std::vector<StreamSource>& sources, const PipelineOptions& options,
                  const ByteSink& sink, const std::function<void(std::size_t)>& streamEnd,
                  std::string& error);

}  // namespace tarnpack
