#ifdef _WIN32
#include "wizard/InsertMediaDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "package/PackageReader.h"
#include "platform/win32/Win32FileSystem.h"
#include "project/InstallProject.h"
#include "project/ProjectLoader.h"
#include "res/resource.h"
#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "tarnpack/PackageBuilder.h"

namespace tarn::wizard {
namespace {

HWND WaitForDialog(const std::string& caption) {
  for (int i = 0; i < 200; ++i) {
    HWND h = FindWindowA("#32770", caption.c_str());
    if (h && IsWindowVisible(h)) return h;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

std::string Text(HWND dialog, int id) {
  char buffer[512] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A three-volume package made by tarnpack, with Setup3.Cab moved into a folder of its own.
class InsertMediaTest : public testing::Test {
 protected:
  InsertMediaTest() : texts(0x409, 1252) {
    texts.Load(std::string(TARN_SAMPLE_DIR) + "/Language.ini", dir.Files());
    dir.WriteFile("stub.exe", std::string(1000, 'S'));
    dir.WriteFile("lang.ini", "[Language=409]\r\n");
    files = {std::string(2000, 'a'), std::string(2000, 'b')};
    dir.WriteFile("a.bin", files[0]);
    dir.WriteFile("b.bin", files[1]);
    dir.WriteFile(
        "project.xml",
        test::ProjectDocument("<DiskSize></DiskSize>\r\n", "",
                              "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n"
                              "<File>[InstallDir]\\a.bin,a.bin,N</File>\r\n"
                              "<File>[InstallDir]\\b.bin,b.bin,N</File>\r\n"));
    dir.MakeFolder("package");
    tarnpack::BuildOptions options;
    options.stubPath = dir.HostPath("stub.exe");
    options.projectPath = dir.HostPath("project.xml");
    options.outputPath = dir.HostPath("package\\Setup.exe");
    options.diskSize = 2000;
    tarnpack::BuildResult result;
    std::string error;
    EXPECT_TRUE(tarnpack::BuildPackage(options, result, error)) << error;
    EXPECT_EQ(result.volumes, 3);
    dir.MakeFolder("disk3");
    std::string third;
    EXPECT_TRUE(dir.ReadFile("package\\Setup3.Cab", third));
    dir.WriteFile("disk3\\Setup3.Cab", third);
    dir.Remove("package\\Setup3.Cab");

    // Open it the way loading does: the project from the setup file, then the file list.
    const std::string setup = dir.Path("package\\Setup.exe");
    auto file = dir.Files().Open(setup, platform::OpenMode::Read);
    const auto trailer = package::ReadPackageTrailer(*file);
    file.reset();
    reader.SetTrailer(*trailer);
    reader.SetCapacity(static_cast<std::int64_t>(trailer->projectSize));
    reader.SetVolumePrompt(&prompt);
    EXPECT_TRUE(reader.OpenVolume(setup, false));
    EXPECT_TRUE(reader.ExtractEntry(dir.Path("project.out"),
                                    static_cast<std::int64_t>(trailer->projectOffset),
                                    static_cast<std::int64_t>(trailer->projectSize), false));
    std::string text;
    dir.ReadFile("project.out", text);
    EXPECT_TRUE(project::LoadProjectText(text, 1252, project));
    EXPECT_TRUE(project.RebuildExtractionTask());
    project.GetFieldValues("2412", project::SubTaskType::FileList, project::FieldName::File,
                           entries);
    reader.SetCapacity(2000);
    reader.SetSpanning(true);
  }

  // Extracts every entry into the scratch folder; false at the first failure.
  bool ExtractAll() {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const auto entry = package::PackageEntry::Parse(entries[i]);
      if (!reader.ExtractEntry(dir.Path("out" + std::to_string(i)), entry->Offset(),
                               entry->CompressedSize(),
                               entry->Kind() == package::EntryKind::Stored))
        return false;
    }
    return true;
  }

  test::ScratchFolder dir;
  project::LanguageTable texts;
  InsertMediaPrompt prompt{texts, 1252, 96};
  std::atomic<bool> over{false};
  package::PackageReader reader{dir.Files(), over};
  project::InstallProject project;
  std::vector<std::string> entries;
  std::vector<std::string> files;
};

TEST_F(InsertMediaTest, AsksForTheMissingVolumeAndTakesTheFolderGiven) {
  std::string request, location;
  bool stayedOpen = false;
  std::thread user([&] {
    HWND dialog = WaitForDialog(texts.GetText(7));
    if (!dialog) return;
    request = Text(dialog, IDC_MEDIA_REQUEST);
    location = Text(dialog, IDC_MEDIA_LOCATION);
    // OK with an empty location keeps the dialog, with the focus in the location field.
    SetDlgItemTextA(dialog, IDC_MEDIA_LOCATION, "");
    Click(dialog, IDC_MEDIA_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
    stayedOpen = stayedOpen && gui.hwndFocus == GetDlgItem(dialog, IDC_MEDIA_LOCATION);
    SetDlgItemTextA(dialog, IDC_MEDIA_LOCATION, dir.Path("disk3").c_str());
    Click(dialog, IDC_MEDIA_OK);
  });
  const bool ok = ExtractAll();
  user.join();

  ASSERT_EQ(entries.size(), 3u);
  EXPECT_TRUE(ok);
  std::string a, b;
  dir.ReadFile("out1", a);
  dir.ReadFile("out2", b);
  EXPECT_EQ(a, files[0]);
  EXPECT_EQ(b, files[1]);
  EXPECT_EQ(reader.CurrentVolume(), 3);
  EXPECT_FALSE(over);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(location, dir.Path("package"));  // the setup file's folder, without its backslash
  EXPECT_EQ(request, texts.GetText(8) + " " + texts.GetText(19) + " " + texts.GetText(9) + "3" +
                         texts.GetText(10));
}

TEST_F(InsertMediaTest, CancellingGivesUpTheExtraction) {
  std::thread user([&] {
    if (HWND dialog = WaitForDialog(texts.GetText(7))) Click(dialog, IDC_MEDIA_CANCEL);
  });
  const bool ok = ExtractAll();
  user.join();
  EXPECT_FALSE(ok);
  EXPECT_TRUE(over);
}

}  // namespace
}  // namespace tarn::wizard
#endif
