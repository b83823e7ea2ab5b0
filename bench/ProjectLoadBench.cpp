// Loading a large project: a product of 100,000 files gives a document of about 20 MB, almost
// all of it the extraction task's file list. Loading must stay linear in the document size.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/FileSystem.h"
#include "project/ProjectLoader.h"
#include "text/ByteText.h"

namespace {

constexpr int kFileCount = 100000;

// GBK text throughout so every search takes the double-byte path.
std::string LargeDocument() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
      "<Version>TarnInstall5.0</Version>\r\n"
      "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
      "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
      "<ProjectName>\xD1\xF9\xC0\xFD</ProjectName>\r\n</SubTask>\r\n</Task>\r\n"
      "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n</Task>\r\n"
      "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\r\n"
      "<SubTask ID=\"10001\" Type=\"FolderList\">\r\n";
  for (int i = 0; i < 1000; ++i)
    text += "<Folder>[InstallDir]\\\x81\x5C\\Folder" + std::to_string(i) + "</Folder>\r\n";
  text += "</SubTask>\r\n<SubTask ID=\"10002\" Type=\"FileList\">\r\n";
  const std::string padding(120, 'p');
  for (int i = 0; i < kFileCount; ++i) {
    text += "<File>[InstallDir]\\\x81\x5C\\Folder" + std::to_string(i % 1000) + "\\" + padding +
            std::to_string(i) + ".dat," + std::to_string(462848 + i * 100) + ",100," +
            (i < 4 ? "K" : "A") + ",2005-1-23 20:20:58</File>\r\n";
  }
  text += "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
  return text;
}

const std::string& Document() {
  static const std::string document = LargeDocument();
  return document;
}

void BM_LoadProjectText(benchmark::State& state) {
  const std::string& document = Document();
  for (auto _ : state) {
    tarn::project::InstallProject project;
    if (!tarn::project::LoadProjectText(document, tarn::text::kCodePageGbk, project))
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(project.TaskCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}
BENCHMARK(BM_LoadProjectText)->Unit(benchmark::kMillisecond);

void BM_LoadProjectFromFile(benchmark::State& state) {
  const std::string path = "/tmp/tarn-bench-project-" + std::to_string(::getpid()) + ".xml";
  std::ofstream(path, std::ios::binary) << Document();
  const auto fileSystem = tarn::platform::MakeSystemFileSystem();
  for (auto _ : state) {
    tarn::project::InstallProject project;
    if (!tarn::project::LoadProject(*fileSystem, path, tarn::text::kCodePageGbk, project))
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(project.TaskCount());
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Document().size()));
}
BENCHMARK(BM_LoadProjectFromFile)->Unit(benchmark::kMillisecond);

void BM_RebuildExtractionTask(benchmark::State& state) {
  tarn::project::InstallProject project;
  if (!tarn::project::LoadProjectText(Document(), tarn::text::kCodePageGbk, project)) {
    state.SkipWithError("load failed");
    return;
  }
  for (auto _ : state) {
    if (!project.RebuildExtractionTask()) state.SkipWithError("rebuild failed");
    benchmark::DoNotOptimize(project.TaskAt(project.TaskCount() - 1).SubTaskCount());
  }
  state.SetItemsProcessed(state.iterations() * kFileCount);
}
BENCHMARK(BM_RebuildExtractionTask)->Unit(benchmark::kMillisecond);

}  // namespace
