#pragma once
// The one line that shows how far a build is when tarnpack runs on a terminal: files, bytes,
// rate and time left, redrawn in place. Scripts that capture the output get none of it.

#include <chrono>
#include <cstdio>
#include <string>

#include "tarnpack/StreamPipeline.h"

namespace tarnpack {

// Whether `stream` is a terminal (and not a file or a pipe).
bool IsTerminal(std::FILE* stream);

// "12/40 files, 3.5/80.0 MiB, 2.1 MiB/s, 0:37 left"; the last report gives the time taken.
std::string ProgressText(const BuildProgress& progress, double seconds);

class ProgressLine {
 public:
  explicit ProgressLine(std::FILE* out) : out_(out) {}
  // Redraws the line; the last report (every file done) ends it.
  void Show(const BuildProgress& progress);
  // Ends a line left open by a build that stopped, so that what follows starts on its own line.
  void End();

 private:
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::size_t width_ = 0;  // of the line drawn last, to blank what a shorter line leaves
  bool open_ = false;      // a line is drawn and not yet ended
};

}  // namespace tarnpack
