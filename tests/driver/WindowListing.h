#pragma once
// Human-readable listings of windows and controls, for writing and debugging test scripts.

#include <windows.h>

#include <string>

namespace tarn::driver {

// One line per top-level window: handle, class, caption, owner, states.
std::string ListTopLevelWindows(bool includeHidden);

// The window and every control below it, indented by depth: ID, class, text, states.
std::string ListWindowTree(HWND top);

}  // namespace tarn::driver
