#ifdef _WIN32
#include "wizard/ShowAdPicture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "support/BitmapBytes.h"
#include "support/ScratchFolder.h"

namespace tarn::wizard {
namespace {

constexpr int kPictureWidth = 120;
constexpr int kPictureHeight = 80;

BOOL CALLBACK FindVisibleDialog(HWND hwnd, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (IsWindowVisible(hwnd) && std::string(cls) == "#32770") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// What another thread saw of the splash while it was up.
struct Observation {
  bool found = false;
  RECT rect{};
  bool visibleAfterCloseRequests = false;
};

// Waits for the splash of `thread` to show, notes where it is, then asks it to close in every
// way a user could before its time is up.
Observation WatchSplash(DWORD thread) {
  Observation seen;
  HWND splash = nullptr;
  for (int tries = 0; tries < 200 && !splash; ++tries) {
    EnumThreadWindows(thread, &FindVisibleDialog, reinterpret_cast<LPARAM>(&splash));
    if (!splash) Sleep(20);
  }
  if (!splash) return seen;
  seen.found = true;
  GetWindowRect(splash, &seen.rect);
  SendMessageA(splash, WM_CLOSE, 0, 0);
  SendMessageA(splash, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageA(splash, WM_COMMAND, IDCANCEL, 0);
  SendMessageA(splash, WM_COMMAND, IDOK, 0);
  seen.visibleAfterCloseRequests = IsWindow(splash) && IsWindowVisible(splash);
  return seen;
}

TEST(ShowAdPicture, StaysUntilItsTimeIsUpCentredAtThePictureSize) {
  tarn::test::ScratchFolder folder;
  test::BitmapSketch sketch;
  sketch.width = kPictureWidth;
  sketch.height = kPictureHeight;
  sketch.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x << 16 | y << 8 | 0x80); };
  folder.WriteFile("ad.bmp", test::EncodeBitmap(sketch));

  CShowAdPicture splash;
  splash.SetPicture(folder.Path("ad.bmp"));
  Observation seen;
  const DWORD uiThread = GetCurrentThreadId();
  std::thread watcher([&seen, uiThread] { seen = WatchSplash(uiThread); });
  const INT_PTR result = splash.RunModal();
  watcher.join();

  EXPECT_EQ(result, IDOK);
  // Only the timer allows closing; had a close request ended the dialog, this would be false.
  EXPECT_TRUE(splash.CloseAllowed());
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(seen.visibleAfterCloseRequests);
  EXPECT_EQ(seen.rect.right - seen.rect.left, kPictureWidth);
  EXPECT_EQ(seen.rect.bottom - seen.rect.top, kPictureHeight);
  EXPECT_EQ(seen.rect.left, (GetSystemMetrics(SM_CXSCREEN) - kPictureWidth) / 2);
  EXPECT_EQ(seen.rect.top, (GetSystemMetrics(SM_CYSCREEN) - kPictureHeight) / 2);
}

}  // namespace
}  // namespace tarn::wizard
#endif
