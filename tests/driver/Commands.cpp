#include "Commands.h"

#include <functional>
#include <optional>
#include <string>

#include "Controls.h"
#include "Deadline.h"
#include "Layout.h"
#include "MessageBoxes.h"
#include "Output.h"
#include "ShellLinks.h"
#include "Watch.h"
#include "WindowListing.h"
#include "WindowSearch.h"
#include "WindowText.h"

namespace tarn::driver {

namespace {

// What every command needs: its arguments, the options and one deadline for all its waiting.
class Context {
 public:
  explicit Context(const Invocation& invocation)
      : invocation_(invocation), deadline_(invocation.timeoutSeconds) {}

  const Invocation& invocation() const { return invocation_; }
  const std::string& Arg(size_t i) const { return invocation_.args[i]; }
  size_t ArgCount() const { return invocation_.args.size(); }
  const Deadline& deadline() const { return deadline_; }
  CaptionPattern Pattern(const std::string& caption) const {
    return CaptionPattern{caption, invocation_.partial};
  }

  HWND Window() const {
    HWND window = nullptr;
    WaitUntil(deadline_, [&] { return (window = FindTopLevel(Pattern(Arg(0)))) != nullptr; });
    if (!window) Complain("no window \"" + Arg(0) + "\" appeared");
    return window;
  }

  // The control named by the second argument, waiting for its window and for it to exist. A
  // message box often has its owner's caption, so every window with the caption is searched.
  HWND Control() const {
    const int id = *ParseControlId(Arg(1));
    HWND control = nullptr;
    const bool found = WaitUntil(deadline_, [&] {
      for (HWND window : FindTopLevels(Pattern(Arg(0)))) {
        if ((control = FindControl(window, id, invocation_.controlClass)) != nullptr) return true;
      }
      return false;
    });
    if (!found) Complain("window \"" + Arg(0) + "\" with a control " + Arg(1) + " did not appear");
    return control;
  }

 private:
  const Invocation& invocation_;
  Deadline deadline_;
};

ExitCode Refused(const Refusal& refusal, const std::string& what) {
  if (!refusal) return kOk;
  return Fail(what + ": " + *refusal);
}

// Whether the control is in the named state; nothing for an unknown state name.
std::optional<bool> StateHolds(HWND control, const std::string& state) {
  if (state == "enabled") return IsWindowEnabled(control) != FALSE;
  if (state == "disabled") return IsWindowEnabled(control) == FALSE;
  if (state == "visible") return IsWindowVisible(control) != FALSE;
  if (state == "hidden") return IsWindowVisible(control) == FALSE;
  int wanted = -1;
  if (state == "checked") wanted = BST_CHECKED;
  if (state == "unchecked") wanted = BST_UNCHECKED;
  if (state == "indeterminate") wanted = BST_INDETERMINATE;
  if (wanted < 0) return std::nullopt;
  return CheckState(control) == wanted;
}

bool KnownState(const std::string& state) {
  return StateHolds(GetDesktopWindow(), state).has_value();
}

ExitCode Wait(const Context& context) { return context.Window() ? kOk : kFailed; }

ExitCode WaitGone(const Context& context) {
  const auto pattern = context.Pattern(context.Arg(0));
  if (WaitUntil(context.deadline(), [&] { return FindTopLevel(pattern) == nullptr; })) return kOk;
  return Fail("window \"" + context.Arg(0) + "\" is still there");
}

ExitCode Text(const Context& context) {
  if (context.ArgCount() == 1) {
    const HWND window = context.Window();
    if (!window) return kFailed;
    WriteLine(Caption(window));
    return kOk;
  }
  const HWND control = context.Control();
  if (!control) return kFailed;
  const auto text = VisibleText(control);
  if (!text) return Fail("control " + context.Arg(1) + " did not answer");
  WriteLine(*text);
  return kOk;
}

ExitCode ListItems(const Context& context) {
  const HWND control = context.Control();
  if (!control) return kFailed;
  const auto items = Items(control);
  if (!items) return Fail("control " + context.Arg(1) + " is no list with text items");
  for (const auto& item : *items) WriteLine(item);
  return kOk;
}

ExitCode Is(const Context& context) {
  if (!KnownState(context.Arg(2))) return kUsage;
  const HWND control = context.Control();
  if (!control) return kFailed;
  if (*StateHolds(control, context.Arg(2))) return kOk;
  return Fail("control " + context.Arg(1) + " is not " + context.Arg(2));
}

ExitCode WaitState(const Context& context) {
  if (!KnownState(context.Arg(2))) return kUsage;
  const HWND control = context.Control();
  if (!control) return kFailed;
  if (WaitUntil(context.deadline(), [&] { return *StateHolds(control, context.Arg(2)); })) {
    return kOk;
  }
  return Fail("control " + context.Arg(1) + " did not become " + context.Arg(2));
}

ExitCode WaitText(const Context& context) {
  const HWND control = context.Control();
  if (!control) return kFailed;
  const std::string& expected = context.Arg(2);
  std::optional<std::string> text;
  const bool matched = WaitUntil(context.deadline(), [&] {
    text = VisibleText(control);
    if (!text) return false;
    return context.invocation().contains ? text->find(expected) != std::string::npos
                                         : *text == expected;
  });
  if (matched) return kOk;
  return Fail("control " + context.Arg(1) + " shows \"" + text.value_or("(no answer)") +
              "\", not \"" + expected + "\"");
}

ExitCode ClickButton(const Context& context) {
  const HWND button = context.Control();
  if (!button) return kFailed;
  return Refused(Click(button, context.invocation().post, context.deadline()),
                 "cannot click " + context.Arg(1));
}

ExitCode Type(const Context& context) {
  const HWND control = context.Control();
  if (!control) return kFailed;
  return Refused(TypeText(control, context.Arg(2)), "cannot type into " + context.Arg(1));
}

ExitCode Tick(const Context& context, bool ticked) {
  const HWND control = context.Control();
  if (!control) return kFailed;
  return Refused(SetTicked(control, ticked, context.deadline()),
                 std::string("cannot ") + (ticked ? "tick " : "untick ") + context.Arg(1));
}

ExitCode Select(const Context& context) {
  const HWND control = context.Control();
  if (!control) return kFailed;
  return Refused(SelectItem(control, context.Arg(2)), "cannot select in " + context.Arg(1));
}

ExitCode AnswerMessageBox(const Context& context) {
  std::optional<int> button;
  if (context.ArgCount() == 2) {
    button = AnswerButtonId(context.Arg(1));
    if (!button) return kUsage;
  }
  const BoxQuery query{context.Pattern(context.Arg(0)), context.invocation().boxCaption};
  HWND box = nullptr;
  if (!WaitUntil(context.deadline(), [&] { return (box = FindMessageBox(query)) != nullptr; })) {
    return Fail("no message box for \"" + context.Arg(0) + "\" appeared");
  }
  const auto text = MessageText(box);
  if (!text) return Fail("the message box did not answer");
  WriteLine(*text);
  if (!button) return kOk;

  const HWND answer = GetDlgItem(box, *button);
  if (!answer) return Fail("the message box has no " + context.Arg(1) + " button");
  // Posted: the box's owner may run on and open the next box before a sent click returns.
  if (auto refusal = Click(answer, true, context.deadline())) {
    return Fail("cannot answer " + context.Arg(1) + ": " + *refusal);
  }
  // Until it is destroyed, a closing box would still be found by the next search.
  if (WaitUntil(context.deadline(), [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
    return kOk;
  }
  return Fail("the message box did not close");
}

ExitCode Close(const Context& context) {
  const HWND window = context.Window();
  if (!window) return kFailed;
  if (!PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0)) return Fail("could not post the close");
  return kOk;
}

// Escape and Enter as the keyboard gives them: a key press to the window, which the dialog's
// own message loop turns into Cancel or OK.
ExitCode Key(const Context& context) {
  const std::string& name = context.Arg(1);
  WPARAM key = 0;
  if (name == "escape") key = VK_ESCAPE;
  if (name == "enter") key = VK_RETURN;
  if (key == 0) return kUsage;
  const HWND window = context.Window();
  if (!window) return kFailed;
  if (!PostMessageA(window, WM_KEYDOWN, key, 1) || !PostMessageA(window, WM_KEYUP, key, 1))
    return Fail("could not post the key");
  return kOk;
}

ExitCode List(const Context& context) {
  if (context.ArgCount() == 0) {
    WriteOut(ListTopLevelWindows(false));
    return kOk;
  }
  const HWND window = context.Window();
  if (!window) return kFailed;
  WriteOut(ListWindowTree(window));
  return kOk;
}

ExitCode CheckWindowLayout(const Context& context) {
  const HWND window = context.Window();
  if (!window) return kFailed;
  const LayoutReport report = CheckLayout(window);
  WriteOut(report.listing);
  for (const std::string& fault : report.faults) Complain(fault);
  return report.faults.empty() ? kOk : kFailed;
}

ExitCode Watch(const Context& context) {
  return WatchWindows(context.Pattern(context.Arg(0)), context.deadline());
}

struct CommandSpec {
  const char* name;
  size_t minArgs;
  size_t maxArgs;
  bool controlId;  // the second argument is a control ID (when present)
  std::function<ExitCode(const Context&)> run;
};

const CommandSpec* FindCommand(const std::string& name) {
  static const CommandSpec kCommands[] = {
      {"wait", 1, 1, false, Wait},
      {"wait-gone", 1, 1, false, WaitGone},
      {"text", 1, 2, true, Text},
      {"items", 2, 2, true, ListItems},
      {"is", 3, 3, true, Is},
      {"wait-state", 3, 3, true, WaitState},
      {"wait-text", 3, 3, true, WaitText},
      {"click", 2, 2, true, ClickButton},
      {"type", 3, 3, true, Type},
      {"tick", 2, 2, true, [](const Context& c) { return Tick(c, true); }},
      {"untick", 2, 2, true, [](const Context& c) { return Tick(c, false); }},
      {"select", 3, 3, true, Select},
      {"msgbox", 1, 2, false, AnswerMessageBox},
      {"close", 1, 1, false, Close},
      {"key", 2, 2, false, Key},
      {"list", 0, 1, false, List},
      {"layout", 1, 1, false, CheckWindowLayout},
      {"watch", 1, 1, false, Watch},
      {"link", 1, 1, false, [](const Context& c) { return PrintShellLink(c.Arg(0)); }},
  };
  for (const auto& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

}  // namespace

ExitCode RunCommand(const Invocation& invocation) {
  const CommandSpec* command = FindCommand(invocation.command);
  if (!command) {
    Complain("unknown command \"" + invocation.command + "\"");
    return kUsage;
  }
  if (invocation.args.size() < command->minArgs || invocation.args.size() > command->maxArgs) {
    Complain("wrong number of arguments for " + invocation.command);
    return kUsage;
  }
  if (command->controlId && invocation.args.size() > 1 && !ParseControlId(invocation.args[1])) {
    Complain("bad control ID \"" + invocation.args[1] + "\"");
    return kUsage;
  }
  const ExitCode result = command->run(Context(invocation));
  if (result == kUsage) Complain("bad argument for " + invocation.command);
  return result;
}

}  // namespace tarn::driver
