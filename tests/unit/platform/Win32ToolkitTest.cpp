// The owners of the Win32 toolkit, on real handles under Wine.
#ifdef _WIN32

#include "platform/win32/Win32Toolkit.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>

#include "support/ScratchFolder.h"

namespace tarn::platform {
namespace {

// A file opened without sharing: while a handle to it is open, nobody can open it again.
HANDLE OpenAlone(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

bool CanOpen(const std::string& path) { return KernelHandle(OpenAlone(path)).Valid(); }

TEST(Win32Toolkit, OwnersGiveTheirResourceBackOnceAndHandItOver) {
  test::ScratchFolder folder;
  const std::string path = folder.Path("locked.bin");

  KernelHandle first(OpenAlone(path));
  ASSERT_TRUE(first.Valid());
  EXPECT_FALSE(CanOpen(path));
  // Moving hands the same handle over and leaves the source empty.
  const HANDLE raw = first.Get();
  KernelHandle second(std::move(first));
  EXPECT_FALSE(first.Valid());
  EXPECT_EQ(second.Get(), raw);
  first.Reset();
  EXPECT_FALSE(CanOpen(path)) << "an emptied owner closed what it had handed over";
  // Assigning over an owner closes what it held.
  KernelHandle other(OpenAlone(folder.Path("other.bin")));
  const HANDLE otherRaw = other.Get();
  other = std::move(second);
  EXPECT_FALSE(IsOpen(otherRaw));
  EXPECT_EQ(other.Get(), raw);
  other.Reset();
  EXPECT_FALSE(IsOpen(raw));
  EXPECT_TRUE(CanOpen(path));

  // Release hands the handle to the caller, who closes it.
  KernelHandle released(OpenAlone(path));
  const HANDLE kept = released.Release();
  EXPECT_FALSE(released.Valid());
  EXPECT_TRUE(IsOpen(kept));
  CloseHandle(kept);
  // Out empties the owner before a call fills it in.
  KernelHandle filled(OpenAlone(path));
  *filled.Out() = OpenAlone(folder.Path("other.bin"));
  EXPECT_TRUE(CanOpen(path));
  EXPECT_TRUE(filled.Valid());
  // Neither null nor INVALID_HANDLE_VALUE is a handle.
  EXPECT_FALSE(KernelHandle(INVALID_HANDLE_VALUE).Valid());
  EXPECT_FALSE(FindHandle().Valid());
  WIN32_FIND_DATAA found;
  EXPECT_FALSE(FindHandle(FindFirstFileA(folder.Path("none*").c_str(), &found)));

  // GDI objects are deleted with their owner, also when one is assigned over.
  HFONT fontRaw = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  {
    Font font(fontRaw);
    EXPECT_EQ(GetObjectType(fontRaw), static_cast<DWORD>(OBJ_FONT));
    Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const HBRUSH brushRaw = brush.Get();
    brush = Brush(CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(GetObjectType(brushRaw), 0u);
    EXPECT_EQ(GetObjectType(brush.Get()), static_cast<DWORD>(OBJ_BRUSH));
    // A selection scope puts the device context's own font back.
    const CreatedDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    {
      const SelectObjectScope selected(dc.Get(), font.Get());
      EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), fontRaw);
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
  }
  EXPECT_EQ(GetObjectType(fontRaw), 0u);

  // A window goes with its owner.
  HWND windowRaw = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  {
    const OwnedWindow window(windowRaw);
    EXPECT_TRUE(IsWindow(windowRaw));
  }
  EXPECT_FALSE(IsWindow(windowRaw));

  // Strings for COM calls, in the system's code page.
  const Bstr text = AnsiBstr("Licence.htm");
  ASSERT_TRUE(text);
  EXPECT_EQ(std::wstring(text.Get(), SysStringLen(text.Get())), L"Licence.htm");
  const Bstr empty = AnsiBstr("");
  ASSERT_TRUE(empty);
  EXPECT_EQ(SysStringLen(empty.Get()), 0u);
}

TEST(Win32Toolkit, ApartmentScopesLeaveOnlyWhatTheyEntered) {
  std::thread([] {
    {
      const ComScope outer;
      EXPECT_TRUE(outer.Valid());
      {
        // Entering again succeeds too, and is balanced by its own leaving.
        const ComScope inner;
        EXPECT_TRUE(inner);
      }
      OleScope ole;
      EXPECT_TRUE(ole);
      const OleScope moved(std::move(ole));
      EXPECT_FALSE(ole);
      EXPECT_TRUE(moved);
    }
    // Left completely: the thread may now join the multithreaded apartment.
    const HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(joined, S_OK);
    if (SUCCEEDED(joined)) CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace tarn::platform

#endif  // _WIN32
