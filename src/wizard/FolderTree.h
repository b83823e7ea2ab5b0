#pragma once
// A tree view showing the folders below one root with the shell's small icons, each level
// listed only when it is opened.

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace tarn::wizard {

class CFolderTree : public ui::Control {
 public:
  // `codePage` is the ANSI code page of the folder names.
  explicit CFolderTree(std::uint32_t codePage);
  ~CFolderTree() override;

  // Clears the tree and shows `root` ("C:" or a folder path) with its first level. False when
  // the system image list or the root's icons cannot be had; the tree is then empty.
  bool DisplayTree(const std::string& root, bool listFiles);
  // Opens the tree along `path` (letter case ignored) and selects its item. False when a
  // component is missing; the levels above it stay open.
  bool SelectPath(const std::string& path);
  // The folder path of an item, without a trailing backslash ("C:" for a drive's root item).
  std::string GetFullPath(HTREEITEM item) const;

  const std::string& LastError() const { return lastError_; }

  bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

 private:
  bool AttachSystemImageList();
  // Inserts the item of `path` as the last child of `parent`; null when its icons fail.
  HTREEITEM InsertFolder(const std::string& path, HTREEITEM parent);
  void InsertPlaceholder(HTREEITEM parent);
  // The first child of an item; of TVI_ROOT, the first root item.
  HTREEITEM FirstChild(HTREEITEM item) const;
  void DeleteChildren(HTREEITEM item);
  // `item` lies somewhere below `ancestor`.
  bool IsWithin(HTREEITEM item, HTREEITEM ancestor) const;
  void FillChildren(HTREEITEM item, const std::string& path);
  // Files are never items with children, so only folders count.
  bool HasSubFolders(const std::string& path) const;
  std::string ItemText(HTREEITEM item) const;
  std::string WithBackslash(std::string path) const;
  bool EndsWithBackslash(const std::string& path) const;

  std::uint32_t codePage_;
  std::string lastError_;
  // The system's shared small-icon list: borrowed, never destroyed.
  HIMAGELIST imageList_ = nullptr;
  bool listFiles_ = false;
  std::string rootPath_;
};

}  // namespace tarn::wizard
