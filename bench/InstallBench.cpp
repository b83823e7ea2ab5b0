// Installation throughput of the install worker: a package of many small files and a few large
// ones (text-like and random), made by tarnpack once per run, installed through every stage of
// the engine into a real scratch folder. The worker's prescribed pauses do not wait here; they
// are added up and reported as their own counter, so the time is the engine's own work.
//
// TARN_BENCH_SMALL_FILES sets the number of 4 KiB files (default 2000), TARN_BENCH_LARGE_MIB the
// size of each of the three large files (default 16). With TARN_BENCH_INSTALL_KEEP naming a
// folder, the package is also copied there as Setup.exe (bench/compare-install.sh uses it).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchData.h"
#include "engine/InstallWorker.h"
#include "engine/actions/Cleanup.h"
#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/ProjectDocument.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedInstallHost.h"
#include "tarnpack/PackageBuilder.h"

namespace {

using tarn::bench::Noise;
using tarn::bench::Setting;
using tarn::bench::TextLike;

constexpr std::size_t kSmallFileSize = 4096;
constexpr int kLargeFiles = 3;

// The vocabulary of the text-like files.
const char* const kWords[] = {
    "the",  "setup",   "program", "installs", "files",  "into",    "folder",   "of",
    "a",    "product", "and",     "writes",   "keys",   "to",      "registry", "when",
    "user", "chooses", "next",    "on",       "page",   "with",    "its",      "shortcut",
    "path", "is",      "not",     "found",    "stream", "version", "disk",     "volume"};

std::string Number(std::size_t n) {
  char name[24];
  std::snprintf(name, sizeof name, "%05zu", n);
  return name;
}

// The package, built once for the whole run.
struct Fixture {
  tarn::test::ScratchFolder dir;
  std::size_t files = 0;
  std::uint64_t bytes = 0;
  std::string error;

  Fixture() {
    const std::size_t smallFiles = Setting("TARN_BENCH_SMALL_FILES", 2000);
    const std::size_t largeSize = Setting("TARN_BENCH_LARGE_MIB", 16) << 20;
    dir.MakeFolder("source\\small");
    dir.WriteFile("source\\TarnSetup.exe", std::string(4096, 'S'));
    dir.WriteFile("source\\lang.ini", "[Language=409]\r\nProjectName=x\r\n");
    std::string lines = "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n";
    // Small files are slices of one text, so each compresses on its own like a small document.
    const std::string text = TextLike(smallFiles * kSmallFileSize, 7, kWords);
    for (std::size_t i = 0; i < smallFiles; ++i) {
      const std::string name = "small\\f" + Number(i) + ".txt";
      dir.WriteFile("source\\" + name, text.substr(i * kSmallFileSize, kSmallFileSize));
      lines += "<File>[InstallDir]\\" + name + "," + name + ",A,2005-1-23 20:20:58</File>\r\n";
    }
    const char* const large[kLargeFiles] = {"text1.txt", "noise.bin", "text2.txt"};
    dir.WriteFile("source\\text1.txt", TextLike(largeSize, 1, kWords));
    dir.WriteFile("source\\noise.bin", Noise(largeSize, 2));
    dir.WriteFile("source\\text2.txt", TextLike(largeSize, 3, kWords));
    for (const char* name : large)
      lines += "<File>[InstallDir]\\big\\" + std::string(name) + "," + name +
               ",A,2005-1-23 20:20:58</File>\r\n";
    files = smallFiles + kLargeFiles;
    bytes = smallFiles * kSmallFileSize + kLargeFiles * static_cast<std::uint64_t>(largeSize);
    dir.WriteFile("source\\project.xml",
                  tarn::test::ProjectDocument(
                      "<ProjectName>Bench</ProjectName>\r\n<ProductVersion>1.0</ProductVersion>\r\n"
                      "<CompanyDesc>Bench</CompanyDesc>\r\n<DiskSize></DiskSize>\r\n"
                      "<SoftwareSize></SoftwareSize>\r\n<FileQty></FileQty>\r\n",
                      "<Folder>[InstallDir]</Folder>\r\n<Folder>[InstallDir]\\small</Folder>\r\n"
                      "<Folder>[InstallDir]\\big</Folder>\r\n",
                      lines));

    tarnpack::BuildOptions options;
    options.stubPath = dir.HostPath("source\\TarnSetup.exe");
    options.projectPath = dir.HostPath("source\\project.xml");
    options.outputPath = dir.HostPath("setup\\Setup.exe");
    dir.MakeFolder("setup");
    tarnpack::BuildResult result;
    if (!tarnpack::BuildPackage(options, result, error)) return;
    std::error_code ec;
    std::filesystem::remove_all(dir.HostPath("source"), ec);
    if (const char* keep = std::getenv("TARN_BENCH_INSTALL_KEEP")) {
      std::filesystem::create_directories(keep, ec);
      std::filesystem::copy_file(options.outputPath, std::string(keep) + "/Setup.exe",
                                 std::filesystem::copy_options::overwrite_existing, ec);
      if (ec) error = "cannot keep the package in " + std::string(keep);
    }
  }

  bool Ready() const { return error.empty(); }
};

Fixture& SharedFixture() {
  static Fixture fixture;
  return fixture;
}

// One machine for one installation: its folders in the scratch folder, fakes for the registry
// and the shell, pauses that only add up.
struct Machine {
  explicit Machine(tarn::test::ScratchFolder& dir) : files(dir.Files()) {
    system.tempPath = dir.Path("temp") + "\\";
    system.modulePath = dir.Path("setup\\Setup.exe");
    system.windowsDirectory = dir.Path("WINDOWS");
    system.systemDirectory = dir.Path("WINDOWS\\system32");
    system.desktopDirectory = dir.Path("Desktop");
  }
  tarn::platform::FileSystem& files;
  tarn::test::FakeRegistry registry;
  tarn::test::FakeSystemFacts system;
  tarn::test::FakeClock clock;
  tarn::test::RecordingShell shell;
  tarn::test::ScriptedInstallHost host;
  tarn::engine::SetupSession session{tarn::engine::Platform{files, registry, system, clock, shell}};
};

void BM_Install(benchmark::State& state) {
  Fixture& f = SharedFixture();
  if (!f.Ready()) {
    state.SkipWithError(("package not built: " + f.error).c_str());
    return;
  }
  f.dir.MakeFolder("temp");
  std::uint64_t pausedMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto machine = std::make_unique<Machine>(f.dir);
    tarn::engine::SetupSession& session = machine->session;
    const bool loaded =
        tarn::startup::LoadPackage(session) && tarn::startup::ExtractInstallerFiles(session);
    if (loaded) {
      tarn::startup::ApplyStartupDefaults(session);
      session.InstallDir = f.dir.Path("App");
    }
    state.ResumeTiming();

    if (!loaded || tarn::engine::RunInstallWorker(session, machine->host) != 0) {
      state.SkipWithError("the installation did not complete");
      return;
    }

    state.PauseTiming();
    pausedMs += machine->clock.pausedMilliseconds;
    tarn::engine::RunCleanup(session);
    machine.reset();
    std::error_code ec;
    std::filesystem::remove_all(f.dir.HostPath("App"), ec);
    state.ResumeTiming();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
  state.counters["files"] = static_cast<double>(f.files);
  state.counters["MiB"] = static_cast<double>(f.bytes) / (1 << 20);
  state.counters["files/s"] =
      benchmark::Counter(iterations * static_cast<double>(f.files), benchmark::Counter::kIsRate);
  state.counters["MiB/s"] = benchmark::Counter(
      iterations * static_cast<double>(f.bytes) / (1 << 20), benchmark::Counter::kIsRate);
  // What the prescribed pauses would add to every installation, in seconds.
  state.counters["pauses_s"] = static_cast<double>(pausedMs) / 1000.0 / iterations;
}

BENCHMARK(BM_Install)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
