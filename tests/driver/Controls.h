#pragma once
// What a user does with a control, done by messages from another process, and what a user sees.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Deadline.h"

namespace tarn::driver {

// The outcome of an action: empty when it worked, otherwise why not.
using Refusal = std::optional<std::string>;

// Null when a user could click the control; otherwise why not (disabled, hidden, or behind a
// disabled owner such as a window under a modal box). Under Wine a click message reaches even a
// disabled button, so the driver must make this check itself.
Refusal CheckClickable(HWND control);

// BM_CLICK, sent and awaited (at most until the deadline, since a click that opens a modal box
// only returns when the box closes) or, with `post`, posted and not awaited.
Refusal Click(HWND button, bool post, const Deadline& deadline);

// Replaces the text of an edit box (or of a combo box's edit field) the way typing does, so the
// owner receives EN_CHANGE.
Refusal TypeText(HWND control, const std::string& text);

// Clicks a check box until its state is `ticked`, so the owner sees BN_CLICKED.
Refusal SetTicked(HWND checkBox, bool ticked, const Deadline& deadline);

// Selects an item of a list box or combo box by text (exact) or by index ("#2") and notifies
// the owner (LBN_SELCHANGE when the list box asks for notifications, CBN_SELCHANGE).
Refusal SelectItem(HWND control, const std::string& item);

// The items of a list box or combo box; nothing when the control is neither.
std::optional<std::vector<std::string>> Items(HWND control);

// What a user reads: the selected item of a list box, otherwise the control's text.
std::optional<std::string> VisibleText(HWND control);

// BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
std::optional<int> CheckState(HWND button);

}  // namespace tarn::driver
