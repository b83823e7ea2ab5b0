#include "WindowSearch.h"

#include <cerrno>
#include <cstdlib>

#include "WindowText.h"

namespace tarn::driver {

namespace {

struct Collected {
  std::vector<HWND> windows;
  bool includeHidden = false;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto& collected = *reinterpret_cast<Collected*>(context);
  if (collected.includeHidden || IsWindowVisible(window)) collected.windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

// Dialog templates store IDs in 16 bits: -1 comes back as 0xFFFF.
bool SameId(int a, int b) { return (a & 0xFFFF) == (b & 0xFFFF); }

}  // namespace

bool CaptionPattern::Matches(const std::string& caption) const {
  return partial ? caption.find(text) != std::string::npos : caption == text;
}

std::vector<HWND> TopLevelWindows(bool includeHidden) {
  Collected collected;
  collected.includeHidden = includeHidden;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collected));
  return collected.windows;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::vector<HWND> FindTopLevels(const CaptionPattern& pattern) {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows(false)) {
    if (pattern.Matches(Caption(window))) found.push_back(window);
  }
  return found;
}

HWND FindTopLevel(const CaptionPattern& pattern) {
  const auto found = FindTopLevels(pattern);
  return found.empty() ? nullptr : found.front();
}

HWND FindControl(HWND top, int id, const std::string& className) {
  // Controls have children with IDs of their own (a combo box's edit field is 1001), so a
  // dialog's own item beats a control's inner part, and a visible control beats a hidden one.
  HWND best = nullptr;
  int bestRank = -1;
  for (HWND child : Descendants(top)) {
    if (!SameId(GetDlgCtrlID(child), id)) continue;
    if (!className.empty() && lstrcmpiA(ClassName(child).c_str(), className.c_str()) != 0) continue;
    const HWND parent = GetAncestor(child, GA_PARENT);
    const bool dialogItem = parent == top || ClassName(parent) == "#32770";
    const int rank = (IsWindowVisible(child) ? 2 : 0) + (dialogItem ? 1 : 0);
    if (rank > bestRank) {
      best = child;
      bestRank = rank;
    }
  }
  return best;
}

std::optional<int> ParseControlId(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const long value = std::strtol(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (errno != 0 || *end != '\0' || value < -1 || value > 0xFFFF) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace tarn::driver
