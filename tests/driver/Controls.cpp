#include "Controls.h"

#include <algorithm>
#include <cstdlib>

#include "Output.h"
#include "WindowText.h"

namespace tarn::driver {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            UINT timeoutMs = kAnswerTimeoutMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

bool IsClass(HWND window, const char* name) {
  return lstrcmpiA(ClassName(window).c_str(), name) == 0;
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

// Tells the owner what a user's action would have told it. A handler that opens a modal box
// answers only when the box closes, which is no failure.
void NotifyOwner(HWND control, WORD code) {
  const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(control) & 0xFFFF, code);
  if (!Send(GetParent(control), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control))) {
    Complain("note: the owner is still handling the notification");
  }
}

struct ListMessages {
  UINT count, textLength, text, setSelection, getSelection;
  LONG ownerDraw, hasStrings;
};

std::optional<ListMessages> MessagesFor(HWND control) {
  if (IsClass(control, "ListBox")) {
    return ListMessages{LB_GETCOUNT,   LB_GETTEXTLEN, LB_GETTEXT,
                        LB_SETCURSEL,  LB_GETCURSEL,  LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE,
                        LBS_HASSTRINGS};
  }
  if (IsClass(control, "ComboBox")) {
    return ListMessages{CB_GETCOUNT,   CB_GETLBTEXTLEN, CB_GETLBTEXT,
                        CB_SETCURSEL,  CB_GETCURSEL,    CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE,
                        CBS_HASSTRINGS};
  }
  return std::nullopt;
}

// Item texts are read as UTF-16 and converted here: Wine hands a list's text to another process
// in UTF-16 even when the ANSI message asked for it.
std::optional<std::string> ItemText(HWND control, const ListMessages& messages, int index) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, messages.textLength, index, 0, SMTO_NORMAL, kAnswerTimeoutMs,
                           &length) ||
      static_cast<LRESULT>(length) < 0) {
    return std::nullopt;
  }
  std::wstring wide(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, messages.text, index, reinterpret_cast<LPARAM>(&wide[0]),
                           SMTO_NORMAL, kAnswerTimeoutMs, &copied) ||
      static_cast<LRESULT>(copied) < 0) {
    return std::nullopt;
  }
  wide.resize(std::min(static_cast<size_t>(copied), wide.size() - 1));
  return Narrow(wide);
}

std::optional<int> ParseIndex(const std::string& text) {
  if (text.size() < 2 || text[0] != '#') return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str() + 1, &end, 10);
  if (*end != '\0' || value < 0) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

Refusal CheckClickable(HWND control) {
  if (!IsWindow(control)) return "the control is gone";
  if (!IsWindowVisible(control)) return "the control is hidden";
  if (!IsWindowEnabled(control)) return "the control is disabled";
  const HWND desktop = GetDesktopWindow();
  for (HWND parent = GetAncestor(control, GA_PARENT); parent && parent != desktop;
       parent = GetAncestor(parent, GA_PARENT)) {
    if (!IsWindowEnabled(parent)) return "the control's window is disabled (a modal box open?)";
  }
  return std::nullopt;
}

Refusal Click(HWND button, bool post, const Deadline& deadline) {
  if (auto refusal = CheckClickable(button)) return refusal;
  // BM_CLICK plays a mouse press and release on the button, which takes the focus and the
  // mouse capture; a window that takes either back in between swallows the click. A push button
  // does nothing with a click but tell its owner, so the owner is told directly. Check boxes and
  // radio buttons change their own state on a click and still get BM_CLICK.
  const LONG type = Style(button) & BS_TYPEMASK;
  const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  const HWND target = push ? GetParent(button) : button;
  const UINT message = push ? WM_COMMAND : BM_CLICK;
  const WPARAM wParam = push ? MAKEWPARAM(GetDlgCtrlID(button) & 0xFFFF, BN_CLICKED) : 0;
  const LPARAM lParam = push ? reinterpret_cast<LPARAM>(button) : 0;
  if (post) {
    if (!PostMessageA(target, message, wParam, lParam)) return "the click could not be posted";
    return std::nullopt;
  }
  if (!Send(target, message, wParam, lParam, deadline.Remaining())) {
    if (!IsWindow(button)) return std::nullopt;  // the click closed its window
    Complain("note: the click is still being handled (a modal box? then post the click)");
  }
  return std::nullopt;
}

Refusal TypeText(HWND control, const std::string& text) {
  HWND edit = control;
  if (IsClass(control, "ComboBox")) {
    edit = FindWindowExA(control, nullptr, "Edit", nullptr);
    if (!edit) return "the combo box has no edit field";
  } else if (!IsClass(control, "Edit")) {
    return "the control is a " + ClassName(control) + ", not an edit box";
  }
  if (auto refusal = CheckClickable(edit)) return refusal;
  if (Style(edit) & ES_READONLY) return "the edit box is read-only";
  // Selecting everything and replacing the selection is what typing over it does; unlike a bare
  // WM_SETTEXT it makes every edit control notify its owner with EN_CHANGE.
  if (!Send(edit, EM_SETSEL, 0, -1) ||
      !Send(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()))) {
    return "the edit box did not answer";
  }
  const auto now = ControlText(edit);
  if (!now) return "the edit box did not answer";
  if (*now != text) return "the edit box holds \"" + *now + "\" (a length limit or filter?)";
  return std::nullopt;
}

Refusal SetTicked(HWND checkBox, bool ticked, const Deadline& deadline) {
  if (!IsClass(checkBox, "Button")) return "the control is a " + ClassName(checkBox);
  const int wanted = ticked ? BST_CHECKED : BST_UNCHECKED;
  // A three-state box needs two clicks to get from one end to the other.
  for (int clicks = 0;; ++clicks) {
    const auto state = CheckState(checkBox);
    if (!state) return "the check box did not answer";
    if (*state == wanted) return std::nullopt;
    if (clicks == 2) return "the check box does not change its state when clicked";
    if (auto refusal = Click(checkBox, false, deadline)) return refusal;
  }
}

Refusal SelectItem(HWND control, const std::string& item) {
  const auto messages = MessagesFor(control);
  if (!messages) return "the control is a " + ClassName(control) + ", not a list";
  if (auto refusal = CheckClickable(control)) return refusal;

  std::optional<int> index = ParseIndex(item);
  if (!index) {
    const auto items = Items(control);
    if (!items) return "the list did not answer";
    for (size_t i = 0; i < items->size(); ++i) {
      if ((*items)[i] == item) {
        index = static_cast<int>(i);
        break;
      }
    }
    if (!index) return "the list has no item \"" + item + "\"";
  }
  const auto count = Send(control, messages->count, 0, 0);
  if (!count || *index >= *count) return "the list has no item " + item;

  const bool list = messages->count == LB_GETCOUNT;
  const bool multiple = list && (Style(control) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  if (multiple) {
    Send(control, LB_SETSEL, FALSE, -1);
    Send(control, LB_SETSEL, TRUE, *index);
    Send(control, LB_SETCARETINDEX, *index, FALSE);
  } else {
    Send(control, messages->setSelection, *index, 0);
    const auto selected = Send(control, messages->getSelection, 0, 0);
    if (!selected || *selected != *index) return "the list did not take the selection";
  }
  // A list box tells its owner only when its style asks for it; a combo box always does, and
  // a pick from its drop-down list ends with CBN_SELENDOK.
  if (!list) {
    NotifyOwner(control, CBN_SELCHANGE);
    NotifyOwner(control, CBN_SELENDOK);
  } else if (Style(control) & LBS_NOTIFY) {
    NotifyOwner(control, LBN_SELCHANGE);
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> Items(HWND control) {
  const auto messages = MessagesFor(control);
  if (!messages) return std::nullopt;
  const LONG style = Style(control);
  if ((style & messages->ownerDraw) && !(style & messages->hasStrings)) return std::nullopt;
  const auto count = Send(control, messages->count, 0, 0);
  if (!count || *count < 0) return std::nullopt;
  std::vector<std::string> items;
  for (int i = 0; i < *count; ++i) {
    auto text = ItemText(control, *messages, i);
    if (!text) return std::nullopt;
    items.push_back(std::move(*text));
  }
  return items;
}

std::optional<std::string> VisibleText(HWND control) {
  if (IsClass(control, "ListBox")) {
    const auto messages = MessagesFor(control);
    const auto selected = Send(control, LB_GETCURSEL, 0, 0);
    if (!selected) return std::nullopt;
    if (*selected < 0) return std::string();
    return ItemText(control, *messages, static_cast<int>(*selected));
  }
  return ControlText(control);
}

std::optional<int> CheckState(HWND button) {
  const auto state = Send(button, BM_GETCHECK, 0, 0);
  if (!state) return std::nullopt;
  return static_cast<int>(*state);
}

}  // namespace tarn::driver
