#include "Watch.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <string>

#include "Output.h"
#include "WindowText.h"

namespace tarn::driver {

namespace {

// The text the window system keeps for a window; unlike WM_GETTEXT it needs no answer from the
// window's thread.
std::string StoredText(HWND window) {
  wchar_t buffer[1024] = {};
  const int length = InternalGetWindowText(window, buffer, static_cast<int>(std::size(buffer)));
  return Narrow(std::wstring(buffer, length > 0 ? length : 0));
}

struct Watched {
  std::map<HWND, std::string> texts;  // by control
};

class Timeline {
 public:
  Timeline() : start_(GetTickCount64()) {}
  ULONGLONG Now() const { return GetTickCount64() - start_; }
  void Line(const std::string& text) const { WriteLine(std::to_string(Now()) + " " + text); }

 private:
  ULONGLONG start_;
};

void ReportTexts(const Timeline& timeline, HWND top, Watched& watched) {
  for (HWND child : Descendants(top)) {
    const std::string text = StoredText(child);
    const auto known = watched.texts.find(child);
    if (known != watched.texts.end() && known->second == text) continue;
    watched.texts[child] = text;
    timeline.Line("text " + FormatHandle(top) + " id=" + FormatId(GetDlgCtrlID(child)) + " " +
                  Quoted(text));
  }
}

std::string Describe(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT rect{};
  GetWindowRect(window, &rect);
  return FormatHandle(window) + " class=" + ClassName(window) + " pid=" + std::to_string(process) +
         " at=" + std::to_string(rect.left) + "," + std::to_string(rect.top) +
         " size=" + std::to_string(rect.right - rect.left) + "x" +
         std::to_string(rect.bottom - rect.top);
}

}  // namespace

ExitCode WatchWindows(const CaptionPattern& pattern, const Deadline& deadline) {
  const Timeline timeline;
  timeline.Line("watching");
  std::map<HWND, Watched> watched;
  bool seenAny = false;
  ULONGLONG lastGone = 0;
  for (;;) {
    const auto current = FindTopLevels(pattern);
    for (HWND window : current) {
      auto found = watched.find(window);
      if (found == watched.end()) {
        found = watched.emplace(window, Watched{}).first;
        timeline.Line("shown " + Describe(window));
        seenAny = true;
      }
      ReportTexts(timeline, window, found->second);
    }
    for (auto it = watched.begin(); it != watched.end();) {
      bool present = false;
      for (HWND window : current) present = present || window == it->first;
      if (present) {
        ++it;
        continue;
      }
      timeline.Line("gone " + FormatHandle(it->first));
      lastGone = timeline.Now();
      it = watched.erase(it);
    }
    if (deadline.Passed()) break;
    if (seenAny && watched.empty() && timeline.Now() - lastGone >= kWatchSettleMs) break;
    Sleep(10);
  }
  timeline.Line("end");
  return kOk;
}

}  // namespace tarn::driver
