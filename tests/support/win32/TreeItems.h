#pragma once
// Reading a tree view's items by their texts, for the tests of the folder tree and the install
// path page.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace tarn::test::tree_items {

inline std::string TreeText(HWND tree, HTREEITEM item) {
  char buffer[MAX_PATH] = {};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = sizeof buffer;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return buffer;
}

inline std::vector<std::string> ChildTexts(HWND tree, HTREEITEM item) {
  std::vector<std::string> texts;
  for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c))
    texts.push_back(TreeText(tree, c));
  return texts;
}

inline HTREEITEM ChildNamed(HWND tree, HTREEITEM item, const std::string& name) {
  for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c)) {
    if (TreeText(tree, c) == name) return c;
  }
  return nullptr;
}

inline bool IsExpanded(HWND tree, HTREEITEM item) {
  return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

}  // namespace tarn::test::tree_items
