#include "CommandLine.h"

#include <cstdlib>

namespace tarn::driver {

std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& words) {
  Invocation invocation;
  size_t i = 0;
  for (; i < words.size() && words[i].rfind("--", 0) == 0; ++i) {
    const std::string& option = words[i];
    if (option == "--timeout" && i + 1 < words.size()) {
      char* end = nullptr;
      invocation.timeoutSeconds = std::strtod(words[++i].c_str(), &end);
      if (*end != '\0' || !(invocation.timeoutSeconds >= 0)) return std::nullopt;
    } else if (option == "--partial") {
      invocation.partial = true;
    } else if (option == "--post") {
      invocation.post = true;
    } else if (option == "--contains") {
      invocation.contains = true;
    } else if (option == "--box-caption") {
      invocation.boxCaption = true;
    } else if (option == "--class" && i + 1 < words.size()) {
      invocation.controlClass = words[++i];
    } else {
      return std::nullopt;
    }
  }
  if (i == words.size()) return std::nullopt;
  invocation.command = words[i];
  invocation.args.assign(words.begin() + i + 1, words.end());
  return invocation;
}

const char* UsageText() {
  return R"(usage: tarndriver [OPTIONS] COMMAND ARGS...
Drives a running Windows program by window caption and control ID.
WINDOW is a top-level window's caption; ID a control ID (decimal, 0x hex, -1).

  wait WINDOW                 wait until a visible window has this caption
  wait-gone WINDOW            wait until no visible window has it
  text WINDOW [ID]            print the control's text (a list box: the selected item;
                              without ID: the caption)
  items WINDOW ID             print a list or combo box's items, one a line
  is WINDOW ID STATE          check a state once: enabled disabled visible hidden
                              checked unchecked indeterminate
  wait-state WINDOW ID STATE  wait until the state holds
  wait-text WINDOW ID TEXT    wait until the control's text is TEXT
  click WINDOW ID             click a button; refused when it is disabled or hidden
  type WINDOW ID TEXT         replace an edit box's text as typing does (EN_CHANGE)
  tick WINDOW ID              tick a check box (the owner gets BN_CLICKED)
  untick WINDOW ID            untick it
  select WINDOW ID ITEM       select a list/combo box item by text or by #INDEX
  msgbox WINDOW [ANSWER]      print the text of a message box owned by WINDOW; with
                              ANSWER (ok cancel yes no abort retry ignore) press that
                              button and wait until the box is gone
  close WINDOW                close the window as its close box does
  key WINDOW KEY              press escape or enter in the window
  list [WINDOW]               list visible top-level windows (with their size), or a
                              window's controls
  layout WINDOW               print where the window's controls and those of its pages
                              (shown or hidden) are; fails when a shown control leaves its
                              dialog's client area or overlaps another (group boxes aside)
  watch WINDOW                print a timeline of matching windows shown and gone and of
                              their controls' texts, read without asking the program (so
                              texts set while it is busy show too); ends at the time-out
                              or 3 s after the last matching window has gone
  link FILE                   print a shell link's target, arguments and working folder,
                              one per line

Options, before the command:
  --timeout SECONDS  how long to wait for windows, controls and states (default 15)
  --partial          captions need only contain WINDOW
  --post             click: post the click and return at once (when it opens a modal box)
  --contains         wait-text: the text need only contain TEXT
  --box-caption      msgbox: WINDOW is the box's own caption, not its owner's
  --class NAME       only controls of this window class (Button, Edit, ...): a wizard's
                     pages reuse IDs of the frame's own controls

Exit status: 0 done, 1 check failed / timed out / refused, 2 usage error.
)";
}

}  // namespace tarn::driver
