#include "wizard/FolderTree.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/Win32Toolkit.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::wizard {

namespace {

// Redrawing off while a level changes; on again when the scope ends.
class RedrawOff {
 public:
  explicit RedrawOff(HWND tree) : tree_(tree) { SendMessageA(tree_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawOff() {
    SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND tree_;
};

constexpr WORD kWaitCursor = 32514;  // the system's hourglass

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(kWaitCursor)))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

bool IsDotEntry(const char* name) {
  return std::string_view(name) == "." || std::string_view(name) == "..";
}

// The shell's small icon index for `path`; the icon handed back with it is not kept.
bool SmallIconIndex(const std::string& path, UINT extraFlags, int& index) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON | extraFlags))
    return false;
  if (info.hIcon) DestroyIcon(info.hIcon);
  index = info.iIcon;
  return true;
}

}  // namespace

CFolderTree::CFolderTree(std::uint32_t codePage) : codePage_(codePage) {}

CFolderTree::~CFolderTree() {
  // The system list is shared with every other program part: leave it alone.
  if (Hwnd()) TreeView_SetImageList(Hwnd(), nullptr, TVSIL_NORMAL);
  imageList_ = nullptr;
}

bool CFolderTree::EndsWithBackslash(const std::string& path) const {
  return text::EndsWithBackslash(path, codePage_);
}

std::string CFolderTree::WithBackslash(std::string path) const {
  if (!EndsWithBackslash(path)) path += '\\';
  return path;
}

bool CFolderTree::AttachSystemImageList() {
  if (TreeView_GetImageList(Hwnd(), TVSIL_NORMAL)) imageList_ = nullptr;
  SHFILEINFOA info{};
  const auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!list) {
    lastError_ = "Cannot retrieve the Handle of SystemImageList!";
    return false;
  }
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(list, &cx, &cy)) {
    lastError_ = "Cannot Attach SystemImageList-Handle";
    return false;
  }
  imageList_ = list;
  if (info.hIcon) DestroyIcon(info.hIcon);
  TreeView_SetImageList(Hwnd(), imageList_, TVSIL_NORMAL);
  return true;
}

HTREEITEM CFolderTree::InsertFolder(const std::string& path, HTREEITEM parent) {
  const std::string withSlash = WithBackslash(path);
  int image = 0, selectedImage = 0;
  if (!SmallIconIndex(withSlash, 0, image) ||
      !SmallIconIndex(withSlash, SHGFI_OPENICON, selectedImage)) {
    lastError_ = "Error Gettting SystemFileInfo!";
    return nullptr;
  }
  std::string name = withSlash.substr(0, withSlash.size() - 1);
  if (parent != TVI_ROOT) {
    name = text::FileNameOf(name, codePage_);
  }
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = name.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(Hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CFolderTree::InsertPlaceholder(HTREEITEM parent) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  char empty[1] = {};
  insert.item.pszText = empty;
  SendMessageA(Hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

HTREEITEM CFolderTree::FirstChild(HTREEITEM item) const {
  return item == TVI_ROOT ? TreeView_GetRoot(Hwnd()) : TreeView_GetChild(Hwnd(), item);
}

void CFolderTree::DeleteChildren(HTREEITEM item) {
  HTREEITEM child = FirstChild(item);
  while (child) {
    HTREEITEM next = TreeView_GetNextSibling(Hwnd(), child);
    TreeView_DeleteItem(Hwnd(), child);
    child = next;
  }
}

bool CFolderTree::HasSubFolders(const std::string& path) const {
  const bool driveRoot = path.size() == 3 && path[1] == ':' && path[2] == '\\';
  const std::string pattern = driveRoot ? path + "*.*" : path + "\\*.*";
  WIN32_FIND_DATAA found{};
  platform::FindHandle search(FindFirstFileA(pattern.c_str(), &found));
  if (!search.Valid()) return false;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(found.cFileName))
      return true;
  } while (FindNextFileA(search.Get(), &found));
  return false;
}

void CFolderTree::FillChildren(HTREEITEM item, const std::string& path) {
  const std::string folder = WithBackslash(path);
  std::vector<std::string> children;
  {
    WIN32_FIND_DATAA found{};
    platform::FindHandle search(FindFirstFileA((folder + "*.*").c_str(), &found));
    if (search.Valid()) {
      do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((isFolder || listFiles_) && !IsDotEntry(found.cFileName))
          children.push_back(folder + found.cFileName);
      } while (FindNextFileA(search.Get(), &found));
    }
  }
  std::stable_sort(children.begin(), children.end(),
                   [](const std::string& a, const std::string& b) {
                     return text::AsciiUpper(a) < text::AsciiUpper(b);
                   });
  RedrawOff quiet(Hwnd());
  WaitCursor wait;
  for (const std::string& child : children) {
    HTREEITEM inserted = InsertFolder(child, item);
    if (inserted && HasSubFolders(child)) InsertPlaceholder(inserted);
  }
}

bool CFolderTree::DisplayTree(const std::string& root, bool listFiles) {
  TreeView_DeleteAllItems(Hwnd());
  if (!AttachSystemImageList()) return false;
  listFiles_ = listFiles;
  rootPath_ = WithBackslash(root);
  HTREEITEM item = InsertFolder(rootPath_, TVI_ROOT);
  if (!item) return false;
  FillChildren(item, rootPath_);
  return true;
}

std::string CFolderTree::ItemText(HTREEITEM item) const {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer.data();
    tv.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = '\0';
    if (!SendMessageA(Hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    const std::string got(tv.pszText);
    // A text that filled the buffer may have been cut: ask again with more room.
    if (got.size() + 1 < buffer.size()) return got;
    buffer.resize(buffer.size() * 2);
  }
}

std::string CFolderTree::GetFullPath(HTREEITEM item) const {
  std::string path;
  for (HTREEITEM at = item; at; at = TreeView_GetParent(Hwnd(), at))
    path = ItemText(at) + "\\" + path;
  if (!path.empty()) path.pop_back();
  return path;
}

bool CFolderTree::IsWithin(HTREEITEM item, HTREEITEM ancestor) const {
  if (!item || item == ancestor) return false;
  for (HTREEITEM at = TreeView_GetParent(Hwnd(), item); at; at = TreeView_GetParent(Hwnd(), at)) {
    if (at == ancestor) return true;
  }
  return false;
}

bool CFolderTree::SelectPath(const std::string& path) {
  const std::string wanted = WithBackslash(text::AsciiUpper(path));
  HTREEITEM current = TVI_ROOT;
  {
    RedrawOff quiet(Hwnd());
    std::size_t start = 0;
    while (current && start < wanted.size()) {
      const std::size_t slash = text::FindChar(wanted, '\\', codePage_, start);
      const std::string component = wanted.substr(start, slash - start);
      start = slash + 1;
      HTREEITEM found = nullptr;
      for (HTREEITEM child = FirstChild(current); child && !found;
           child = TreeView_GetNextSibling(Hwnd(), child)) {
        if (text::AsciiUpper(ItemText(child)) == component) found = child;
      }
      current = found;
      if (!found) break;
      if (TreeView_GetItemState(Hwnd(), found, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) {
        // An item opened before sends no notification when opened again; reset it so that
        // the level is listed afresh. Its level may hold the selection: move it up first, as
        // collapsing would, so that no selected item is deleted under the control's feet.
        if (IsWithin(TreeView_GetSelection(Hwnd()), found)) TreeView_SelectItem(Hwnd(), found);
        TreeView_Expand(Hwnd(), found, TVE_EXPAND);
        TreeView_Expand(Hwnd(), found, TVE_COLLAPSE | TVE_COLLAPSERESET);
        InsertPlaceholder(found);
      }
      TreeView_Expand(Hwnd(), found, TVE_EXPAND);
    }
  }
  if (!current || current == TVI_ROOT) return false;
  TreeView_SelectItem(Hwnd(), current);
  return true;
}

bool CFolderTree::OnReflectedNotify(NMHDR& header, LRESULT& result) {
  if (header.code != TVN_ITEMEXPANDEDA && header.code != TVN_ITEMEXPANDEDW) return false;
  // The item handle and state sit at the same place in both notification layouts.
  const auto& view = reinterpret_cast<const NMTREEVIEWA&>(header);
  HTREEITEM item = view.itemNew.hItem;
  DeleteChildren(item);
  if (view.itemNew.state & TVIS_EXPANDED) {
    FillChildren(item, GetFullPath(item));
  } else {
    InsertPlaceholder(item);
  }
  result = 0;
  return true;
}

}  // namespace tarn::wizard
