// Replays every seed and every kept crash input through the entry function of its target:
//   tarn_fuzz_regressions FUZZ_DIR
// reads FUZZ_DIR/corpus/<target>/* and FUZZ_DIR/regressions/<target>/*. A folder named after no
// target fails the run, so a case is never skipped silently; a reader that crashes ends it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzEntries.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> SortedEntries(const fs::path& folder) {
  std::vector<fs::path> paths;
  for (const auto& item : fs::directory_iterator(folder)) paths.push_back(item.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Runs every file below `root`/<target>; false when a folder names no target or a file cannot
// be read.
bool RunAll(const fs::path& root, int& files, int& targets) {
  if (!fs::is_directory(root)) return true;
  for (const auto& folder : SortedEntries(root)) {
    if (!fs::is_directory(folder)) continue;
    const auto entry = tarn::fuzz::FindEntry(folder.filename().string());
    if (!entry) {
      std::fprintf(stderr, "no fuzz target is called %s\n", folder.string().c_str());
      return false;
    }
    ++targets;
    for (const auto& file : SortedEntries(folder)) {
      if (!fs::is_regular_file(file) || file.filename().string().front() == '.') continue;
      std::ifstream in(file, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), {}};
      if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return false;
      }
      std::fprintf(stderr, "%s\n", file.string().c_str());
      entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++files;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarn_fuzz_regressions FUZZ_DIR\n");
    return 2;
  }
  const fs::path dir = argv[1];
  int seeds = 0, seedTargets = 0, cases = 0, caseTargets = 0;
  if (!RunAll(dir / "corpus", seeds, seedTargets) ||
      !RunAll(dir / "regressions", cases, caseTargets)) {
    return 1;
  }
  // Nothing to run means the folders moved: that must not pass as a clean run.
  if (seeds == 0) {
    std::fprintf(stderr, "no seed inputs under %s\n", (dir / "corpus").string().c_str());
    return 1;
  }
  std::printf(
      "fuzz regressions: %d seed inputs of %d targets and %d crash cases of %d targets "
      "ran clean\n",
      seeds, seedTargets, cases, caseTargets);
  return 0;
}
