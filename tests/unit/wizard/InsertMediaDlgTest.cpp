#ifdef _WIN32
#include "wizard/InsertMediaDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "package/PackageReader.h"
#include "platform/win32/Win32FileSystem.h"
#include "res/resource.h"
#include "support/ScratchFolder.h"

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

// A package of three 100-byte volumes whose one stream starts in volume 1 and ends in volume 3,
// with the third volume moved into a folder of its own.
class InsertMediaTest : public testing::Test {
 protected:
  InsertMediaTest() : texts(0x409, 1252) {
    texts.Load(std::string(TARN_SAMPLE_DIR) + "/Language.ini", dir.Files());
    package::PackageTrailer trailer;
    trailer.SetIdentityText("media-test");
    trailer.volumeNumber = 1;
    const auto t = trailer.Encode();
    const std::string tail(t.begin(), t.end());
    for (int v = 1; v <= 3; ++v) data += std::string(100, static_cast<char>('a' + v));
    dir.WriteFile("Setup.exe", data.substr(0, 100) + tail);
    dir.WriteFile("Setup2.Cab", data.substr(100, 100) + tail);
    dir.MakeFolder("disk3");
    dir.WriteFile("disk3\\Setup3.Cab", data.substr(200, 100) + tail);
    reader.SetTrailer(trailer);
    reader.SetCapacity(100);
    reader.SetVolumePrompt(&prompt);
    EXPECT_TRUE(reader.OpenVolume(dir.Path("Setup.exe"), false));
    reader.SetSpanning(true);
  }

  test::ScratchFolder dir;
  project::LanguageTable texts;
  InsertMediaPrompt prompt{texts, 1252};
  std::atomic<bool> over{false};
  package::PackageReader reader{dir.Files(), over};
  std::string data;
};

TEST_F(InsertMediaTest, AsksForTheMissingVolumeAndTakesTheFolderGiven) {
  std::string request, location, focusedClass;
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
  const bool ok = reader.ExtractEntry(dir.Path("out.bin"), 50, 220, true);
  user.join();

  EXPECT_TRUE(ok);
  std::string out;
  dir.ReadFile("out.bin", out);
  EXPECT_EQ(out, data.substr(50, 220));
  EXPECT_EQ(reader.CurrentVolume(), 3);
  EXPECT_FALSE(over);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(location, dir.Path());  // the setup file's folder, without its backslash
  EXPECT_EQ(request, texts.GetText(8) + " " + texts.GetText(19) + " " + texts.GetText(9) + "3" +
                         texts.GetText(10));
}

TEST_F(InsertMediaTest, CancellingGivesUpTheExtraction) {
  std::thread user([&] {
    if (HWND dialog = WaitForDialog(texts.GetText(7))) Click(dialog, IDC_MEDIA_CANCEL);
  });
  const bool ok = reader.ExtractEntry(dir.Path("out.bin"), 50, 220, true);
  user.join();
  EXPECT_FALSE(ok);
  EXPECT_TRUE(over);
}

}  // namespace
}  // namespace tarn::wizard
#endif
