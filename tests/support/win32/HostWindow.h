#pragma once
// A plain top-level window that stands in for the wizard frame as the pages' parent.

#include <windows.h>

#include <commctrl.h>

namespace tarn::test {

class HostWindow {
 public:
  HostWindow() {
    // Start-up registers the common control classes before any page exists; the pages (the
    // folder tree above all) count on it.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    hwnd_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 548, 314, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~HostWindow() { DestroyWindow(hwnd_); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

}  // namespace tarn::test
