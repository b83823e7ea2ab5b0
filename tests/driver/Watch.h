#pragma once
// Watching a program's windows come and go, for checks on timing and on texts that show only
// for a moment.

#include "Deadline.h"
#include "ExitCode.h"
#include "WindowSearch.h"

namespace tarn::driver {

// How long no matching window may be on screen, after one was, before the watch ends.
constexpr ULONGLONG kWatchSettleMs = 3000;

// Polls the visible top-level windows matching `pattern` every 10 ms and prints a timeline,
// one line per change, each starting with the milliseconds since the watch began:
//   0 watching
//   T shown HANDLE class=CLASS pid=PID at=X,Y size=WxH
//   T text HANDLE id=ID "TEXT"        (a control's text, when first seen and when it changes)
//   T gone HANDLE
//   T end
// It reads only what the window system itself keeps (visibility, class, position, the stored
// window text), never asking the watched program's threads, so it sees texts set while that
// program is busy. The watch ends at the deadline, or kWatchSettleMs after the last matching
// window has gone.
ExitCode WatchWindows(const CaptionPattern& pattern, const Deadline& deadline);

}  // namespace tarn::driver
