// Extraction throughput of the package reader: a large text-like file (compresses well, the
// decoder spends its time on matches) and a large file of random bytes (stored almost literally,
// the decoder spends its time on the range coder), each decoded from a package made by tarnpack
// once per run, written to a real file and to a file layer that throws the bytes away.
//
// TARN_BENCH_MIB sets the size of each file (default 64).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BenchData.h"
#include "package/PackageEntry.h"
#include "package/PackageReader.h"
#include "project/InstallProject.h"
#include "project/ProjectLoader.h"
#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "tarnpack/DiscardingFileSystem.h"
#include "tarnpack/PackageBuilder.h"
#include "text/ByteText.h"

namespace {

using tarn::bench::Noise;
using tarn::bench::Setting;
using tarn::bench::TextLike;
using tarn::package::PackageEntry;
using tarn::package::PackageReader;
using tarn::project::FieldName;
using tarn::project::SubTaskType;

enum Sample { kText = 0, kNoise = 1 };

std::size_t SampleSize() { return Setting("TARN_BENCH_MIB", 64) << 20; }

// The vocabulary of the text-like sample.
const char* const kWords[] = {
    "the",     "setup",   "program", "installs", "files", "into",  "folder",   "of",
    "a",       "product", "and",     "writes",   "keys",  "to",    "registry", "when",
    "user",    "chooses", "next",    "on",       "page",  "with",  "its",      "shortcut",
    "version", "company", "path",    "is",       "not",   "found", "please",   "insert",
    "disk",    "volume",  "stream",  "bytes",    "read",  "from",  "package",  "for",
    "each",    "entry",   "time",    "stamp",    "local", "error", "cancel",   "finish",
    "window",  "text",    "size",    "value",    "name",  "list",  "task",     "uninstall",
    "record",  "font",    "group",   "menu",     "start", "data",  "temp",     "copy"};

std::string ProjectDocument() {
  return tarn::test::ProjectDocument(
      "<ProjectName>Bench</ProjectName>\r\n<DiskSize></DiskSize>\r\n"
      "<SoftwareSize></SoftwareSize>\r\n<FileQty></FileQty>\r\n",
      "<Folder>[InstallDir]</Folder>\r\n",
      "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n"
      "<File>[InstallDir]\\text.txt,text.txt,A,2005-1-23 20:20:58</File>\r\n"
      "<File>[InstallDir]\\noise.bin,noise.bin,A,2005-1-23 20:20:58</File>\r\n");
}

// The package built once for the whole run, and its two large entries.
struct Fixture {
  tarn::test::ScratchFolder dir;
  std::int64_t diskSize = 0;
  tarn::package::PackageTrailer trailer;
  std::vector<PackageEntry> entries;  // language file, text, noise
  std::uint64_t sizes[2] = {0, 0};
  std::string error;

  Fixture() {
    const std::size_t size = SampleSize();
    dir.WriteFile("TarnSetup.exe", std::string(4096, 'S'));
    dir.WriteFile("lang.ini", "[Language=409]\r\nSureDesc=OK\r\n");
    dir.WriteFile("text.txt", TextLike(size, 1, kWords));
    dir.WriteFile("noise.bin", Noise(size, 2));
    dir.WriteFile("project.xml", ProjectDocument());
    sizes[kText] = sizes[kNoise] = size;

    tarnpack::BuildOptions options;
    options.stubPath = dir.HostPath("TarnSetup.exe");
    options.projectPath = dir.HostPath("project.xml");
    options.outputPath = dir.HostPath("Setup.exe");
    tarnpack::BuildResult result;
    if (!tarnpack::BuildPackage(options, result, error)) return;
    dir.Remove("text.txt");
    dir.Remove("noise.bin");
    ReadEntries();
  }

  bool Ready() const { return entries.size() == 3; }

  // The file list, read back the way the setup program reads it.
  void ReadEntries() {
    auto setup = dir.Files().Open(dir.Path("Setup.exe"), tarn::platform::OpenMode::Read);
    const auto read = setup ? tarn::package::ReadPackageTrailer(*setup) : std::nullopt;
    if (!read) {
      error = "no trailer";
      return;
    }
    trailer = *read;
    std::atomic<bool> over{false};
    PackageReader reader(dir.Files(), over);
    reader.SetTrailer(trailer);
    reader.SetCapacity(static_cast<std::int64_t>(trailer.projectSize));
    std::string text;
    tarn::project::InstallProject project;
    if (!reader.OpenVolume(dir.Path("Setup.exe"), false) ||
        !reader.ExtractEntry(dir.Path("project.out"),
                             static_cast<std::int64_t>(trailer.projectOffset),
                             static_cast<std::int64_t>(trailer.projectSize), false) ||
        !dir.ReadFile("project.out", text) ||
        !tarn::project::LoadProjectText(text, tarn::text::kCodePageGbk, project) ||
        !project.RebuildExtractionTask()) {
      error = "cannot read the project back";
      return;
    }
    diskSize = tarn::text::ParseDecimal32(
        project.GetFieldValue("2401", SubTaskType::GetAllVar, FieldName::DiskSize));
    std::vector<std::string> lines;
    project.GetFieldValues("2412", SubTaskType::FileList, FieldName::File, lines);
    for (const auto& line : lines) {
      if (auto entry = PackageEntry::Parse(line)) entries.push_back(*entry);
    }
  }
};

Fixture& SharedFixture() {
  static Fixture fixture;
  return fixture;
}

void Extract(benchmark::State& state, tarn::platform::FileSystem& files, Sample sample) {
  Fixture& f = SharedFixture();
  if (!f.Ready()) {
    state.SkipWithError(("package not built: " + f.error).c_str());
    return;
  }
  const PackageEntry& entry = f.entries[1 + sample];
  std::atomic<bool> over{false};
  PackageReader reader(files, over);
  reader.SetTrailer(f.trailer);
  reader.SetCapacity(f.diskSize);
  if (!reader.OpenVolume(f.dir.Path("Setup.exe"), false)) {
    state.SkipWithError("cannot open the package");
    return;
  }
  reader.SetSpanning(true);
  const std::string target = f.dir.Path("out.bin");
  for (auto _ : state) {
    if (!reader.ExtractEntry(target, entry.Offset(), entry.CompressedSize(), false)) {
      state.SkipWithError("extraction failed");
      return;
    }
  }
  f.dir.Remove("out.bin");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.sizes[sample]));
  state.counters["stream_MiB"] = static_cast<double>(entry.CompressedSize()) / (1 << 20);
  state.counters["file_MiB"] = static_cast<double>(f.sizes[sample]) / (1 << 20);
}

void BM_ExtractToFile(benchmark::State& state, Sample sample) {
  Extract(state, SharedFixture().dir.Files(), sample);
}

void BM_ExtractToDiscard(benchmark::State& state, Sample sample) {
  tarnpack::DiscardingFileSystem discard(SharedFixture().dir.Files());
  Extract(state, discard, sample);
}

BENCHMARK_CAPTURE(BM_ExtractToFile, text, kText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExtractToFile, noise, kNoise)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExtractToDiscard, text, kText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExtractToDiscard, noise, kNoise)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
