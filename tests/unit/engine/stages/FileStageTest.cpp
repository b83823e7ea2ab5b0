// Files decoded ahead of their turn: whatever the decoders' pace, a run shows, asks and leaves
// exactly what a run that decodes each file in its turn does.
#include "engine/stages/FileStage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "support/InstallScene.h"

namespace tarn::engine {
namespace {

using Scene = test::InstallScene;
using Stream = test::PackageStream;

struct Outcome {
  int result = 0;
  std::vector<std::string> events;
  std::map<std::string, std::string> files;  // of the installation and Windows folders
  std::vector<std::string> installed;
  std::vector<std::string> runs;  // each program's run, with what of the others was there
  int writtenAhead = 0;
};

std::string Relative(const Scene& t, const std::string& path) {
  const std::string root = t.dir.Path();
  return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
}

std::map<std::string, std::string> FilesUnder(const Scene& t,
                                              const std::vector<std::string>& tops) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> found;
  for (const auto& top : tops) {
    const fs::path root = t.dir.HostPath(top);
    if (!fs::exists(root)) continue;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
      const std::string name = top + "/" + fs::relative(item.path(), root).generic_string();
      // The journal of an abandoned run lists what was staged, which decoding ahead does sooner.
      if (name.find(".journal") != std::string::npos) continue;
      std::string bytes;
      struct stat about {};
      if (item.is_directory() || !t.dir.ReadFile(t.dir.Path(name), bytes) ||
          stat(item.path().string().c_str(), &about) != 0) {
        bytes = "<folder>";
      } else {
        // The year of its last-write time, which the packages below give as 2005.
        const std::time_t written = about.st_mtime;
        bytes += " @" + std::to_string(std::localtime(&written)->tm_year + 1900);
      }
      found[name] = bytes;
    }
  }
  return found;
}

struct Case {
  const char* what;
  std::vector<Stream> streams;
  std::function<void(Scene&)> prepare;
  std::string slow;  // the decoding of every file whose name holds this takes long
};

Outcome InstallWith(const Case& c, unsigned decoders) {
  Scene t;
  t.session.DecodeThreads = decoders;
  const std::thread::id worker = std::this_thread::get_id();
  std::atomic<int> writtenAhead{0};
  t.files.onCreate = [&](const std::string& path) {
    if (std::this_thread::get_id() != worker) ++writtenAhead;
    if (!c.slow.empty() && path.find(c.slow) != std::string::npos)
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
  };
  Outcome o;
  t.shell.onRun = [&](const std::string& program) {
    std::string seen = program.substr(program.find_last_of('\\') + 1) + " sees";
    for (const auto& [name, bytes] : FilesUnder(t, {"App"}))
      if (name.find(".~TarnInstall") == std::string::npos) seen += " " + name + "=" + bytes;
    o.runs.push_back(seen);
  };
  if (c.prepare) c.prepare(t);
  o.result = t.Install(c.streams, std::to_string(c.streams.size()));
  o.events = t.host.events;
  o.files = FilesUnder(t, {"App", "WINDOWS"});
  for (const auto& path : t.session.Project.InstalledFileList)
    o.installed.push_back(Relative(t, path));
  o.writtenAhead = writtenAhead;
  return o;
}

std::vector<Stream> Numbered(int count, const std::string& kind = "A") {
  std::vector<Stream> streams;
  for (int i = 0; i < count; ++i)
    streams.push_back({"[InstallDir]\\f" + std::to_string(i) + ".txt", kind,
                       std::string(static_cast<std::size_t>(1000 + 37 * i), char('a' + i % 26))});
  return streams;
}

TEST(FileStage, FilesDecodedAheadChangeNothingAUserOrTheDiskCanSee) {
  auto withProgram = Numbered(6);
  withProgram.insert(withProgram.begin() + 3, {"[InstallDir]\\step.exe", "L", "program"});
  withProgram.insert(withProgram.begin() + 5, {"[InstallDir]\\data.reg", "R", "REGEDIT4\r\n"});
  auto withUninstaller = Numbered(4);
  withUninstaller.insert(withUninstaller.begin() + 1,
                         {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "uninstaller"});
  auto twice = Numbered(5);
  twice.push_back({"[InstallDir]\\f1.txt", "A", "the second f1"});
  const auto blockF2 = [](Scene& t) { t.dir.MakeFolder("App\\f2.txt"); };

  const Case cases[] = {
      {"a plain run, the first files slow", Numbered(12), nullptr, "f0.txt"},
      {"a plain run, a late file slow", Numbered(12), nullptr, "f9.txt"},
      {"a program sees every earlier file and none of the later ones", withProgram, nullptr,
       "f4.txt"},
      {"a newer uninstaller registered: skipped, its decoded copy gone", withUninstaller,
       [](Scene& t) {
         t.registry.PutString(platform::RootKey::LocalMachine, "SOFTWARE\\TarnSoft\\TarnInstall",
                              "LastVersion", "9.0");
       },
       "Tarn-UnInstall"},
      {"cancelled mid-run, Yes", Numbered(12),
       [](Scene& t) {
         t.host.abortAnswers = {true};
         t.host.onProgress = [&t](std::int32_t percent) {
           if (percent >= 30) t.session.CancelRequested = true;
         };
       },
       "f5.txt"},
      {"cancelled mid-run, No", Numbered(8),
       [](Scene& t) {
         t.host.abortAnswers = {false};
         t.host.onProgress = [&t](std::int32_t percent) {
           if (percent == 50) t.session.CancelRequested = true;
         };
       },
       ""},
      {"a write error, Yes: the rest is never written", Numbered(10),
       [&](Scene& t) {
         blockF2(t);
         t.host.writeErrorAnswers = {true};
       },
       "f3.txt"},
      {"a write error, No: the run goes on", Numbered(10),
       [&](Scene& t) {
         blockF2(t);
         t.host.writeErrorAnswers = {false};
       },
       "f2.txt"},
      {"a stream that cannot be read is a write error", Numbered(5),
       [](Scene& t) {
         t.extraFileLines =
             "<File>[InstallDir]\\broken.bin,999999999,100,A,2005-1-23 20:20:58</File>\r\n";
         t.host.writeErrorAnswers = {false};
       },
       ""},
      {"one target twice: the later version stays", twice, nullptr, "f1.txt"},
  };
  for (const auto& c : cases) {
    const Outcome inTurn = InstallWith(c, 0);
    const Outcome ahead = InstallWith(c, 4);
    EXPECT_EQ(inTurn.writtenAhead, 0) << c.what;
    EXPECT_GT(ahead.writtenAhead, 0) << c.what;
    EXPECT_EQ(ahead.result, inTurn.result) << c.what;
    EXPECT_EQ(ahead.events, inTurn.events) << c.what;
    EXPECT_EQ(ahead.files, inTurn.files) << c.what;
    EXPECT_EQ(ahead.installed, inTurn.installed) << c.what;
    EXPECT_EQ(ahead.runs, inTurn.runs) << c.what;
    for (const auto& [name, bytes] : ahead.files) {
      EXPECT_EQ(name.find(".new"), std::string::npos) << c.what << ": " << name << " left behind";
      if (name.rfind("App/", 0) == 0 && bytes != "<folder>") {
        EXPECT_EQ(bytes.substr(bytes.size() - 6), " @2005") << c.what << ": " << name;
      }
    }
  }
}

}  // namespace
}  // namespace tarn::engine
