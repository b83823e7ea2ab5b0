#ifdef _WIN32
// The folder tree control on a bare dialog of its own.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/win32/HostWindow.h"
#include "support/win32/TreeItems.h"
#include "res/resource.h"
#include "support/ScratchFolder.h"
#include "text/ByteText.h"
#include "ui/ModelessDialog.h"
#include "wizard/FolderTree.h"

namespace tarn::wizard {
namespace {

using test::HostWindow;
using namespace test::tree_items;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// A bare dialog on the install path page's template, to hold a tree of our own.
class TreeHost : public ui::ModelessDialog {
 public:
  TreeHost() : ModelessDialog(IDD_INSTALL_PATH) {}
};

// The item of a full path, walking from the root by exact item texts; null when missing.
HTREEITEM ItemAt(HWND tree, const std::string& path) {
  HTREEITEM item = nullptr;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('\\', start), path.size());
    const std::string name = path.substr(start, slash - start);
    HTREEITEM next = nullptr;
    for (HTREEITEM c = item ? TreeView_GetChild(tree, item) : TreeView_GetRoot(tree); c;
         c = TreeView_GetNextSibling(tree, c)) {
      if (TreeText(tree, c) == name) next = c;
    }
    if (!next) return nullptr;
    item = next;
    start = slash + 1;
  }
  return item;
}

TEST(FolderTree, ListsFoldersLazilyAndAfreshAndSelectsPathsInAnyCase) {
  test::ScratchFolder dir;
  for (const char* folder : {"Tree\\Alpha\\Inner", "Tree\\beta", "Tree\\Gamma"})
    dir.MakeFolder(folder);
  dir.WriteFile("Tree\\afile.txt", "x");
  dir.WriteFile("Tree\\Gamma\\only-a-file.txt", "x");
  const std::string tree = dir.Path("Tree");
  const std::string alpha = tree + "\\Alpha";
  const std::string drive = tree.substr(0, 2);

  HostWindow host;
  TreeHost dialog;
  ASSERT_TRUE(dialog.Create(host.Get()));
  CFolderTree folders(1252);
  ASSERT_TRUE(folders.Attach(dialog.Hwnd(), IDC_PATH_TREE));
  const HWND view = folders.Hwnd();

  ASSERT_TRUE(folders.DisplayTree(drive, false)) << folders.LastError();
  EXPECT_EQ(folders.LastError(), "");
  EXPECT_NE(TreeView_GetImageList(view, TVSIL_NORMAL), nullptr);
  const HTREEITEM root = TreeView_GetRoot(view);
  EXPECT_EQ(TreeText(view, root), drive);
  EXPECT_EQ(folders.GetFullPath(root), drive);
  const std::vector<std::string> top = ChildTexts(view, root);
  EXPECT_FALSE(top.empty());
  for (std::size_t i = 1; i < top.size(); ++i)
    EXPECT_LE(text::AsciiUpper(top[i - 1]), text::AsciiUpper(top[i])) << top[i];

  // Any letter case finds the folder; every level on the way is open afterwards.
  ASSERT_TRUE(folders.SelectPath(Lower(tree)));
  EXPECT_EQ(folders.GetFullPath(TreeView_GetSelection(view)), tree);
  EXPECT_TRUE(IsExpanded(view, ItemAt(view, tree)));
  EXPECT_EQ(ChildTexts(view, ItemAt(view, tree)),
            (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
  // Only a folder with sub-folders carries the placeholder that gives it an expand button.
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)), std::vector<std::string>{""});
  EXPECT_EQ(ChildTexts(view, ItemAt(view, tree + "\\beta")), std::vector<std::string>{});
  EXPECT_EQ(ChildTexts(view, ItemAt(view, tree + "\\Gamma")), std::vector<std::string>{});

  ASSERT_TRUE(folders.SelectPath(tree + "\\ALPHA\\inner\\"));
  EXPECT_EQ(folders.GetFullPath(TreeView_GetSelection(view)), alpha + "\\Inner");
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)), std::vector<std::string>{"Inner"});

  // Collapsing leaves a placeholder; opening again lists the folder as it is now.
  dir.MakeFolder("Tree\\Alpha\\New");
  TreeView_SelectItem(view, ItemAt(view, alpha));
  SendMessageA(view, WM_KEYDOWN, VK_SUBTRACT, 0);
  EXPECT_FALSE(IsExpanded(view, ItemAt(view, alpha)));
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)), std::vector<std::string>{""});
  SendMessageA(view, WM_KEYDOWN, VK_ADD, 0);
  EXPECT_TRUE(IsExpanded(view, ItemAt(view, alpha)));
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)), (std::vector<std::string>{"Inner", "New"}));

  // A folder opened before is listed afresh when a path leads through it.
  dir.MakeFolder("Tree\\Alpha\\a-newer");
  ASSERT_TRUE(folders.SelectPath(tree + "\\alpha\\A-NEWER"));
  EXPECT_EQ(folders.GetFullPath(TreeView_GetSelection(view)), alpha + "\\a-newer");
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)),
            (std::vector<std::string>{"a-newer", "Inner", "New"}));

  // A missing component gives false and selects no item of it; the levels above stay open.
  EXPECT_FALSE(folders.SelectPath(alpha + "\\Missing\\Deeper"));
  EXPECT_EQ(folders.GetFullPath(TreeView_GetSelection(view)).find("Missing"), std::string::npos);
  EXPECT_TRUE(IsExpanded(view, ItemAt(view, alpha)));
  EXPECT_TRUE(IsExpanded(view, ItemAt(view, tree)));
  EXPECT_TRUE(IsExpanded(view, root));
  EXPECT_EQ(ChildTexts(view, ItemAt(view, alpha)),
            (std::vector<std::string>{"a-newer", "Inner", "New"}));
  EXPECT_FALSE(folders.SelectPath("Q:\\Nowhere"));

  // Showing a drive again starts over with its first level.
  ASSERT_TRUE(folders.DisplayTree(drive + "\\", false));
  EXPECT_EQ(ChildTexts(view, TreeView_GetRoot(view)), top);
  EXPECT_EQ(ItemAt(view, tree), nullptr);
  folders.Detach();
  dialog.Destroy();
}

}  // namespace
}  // namespace tarn::wizard
#endif
