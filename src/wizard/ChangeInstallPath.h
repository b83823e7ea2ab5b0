#pragma once
// The install path page: the destination folder, a folder tree of one drive and the drive list.

#include <string>
#include <vector>

#include "pages/InstallPathRules.h"
#include "ui/SyncEdit.h"
#include "wizard/FolderTree.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CChangeInstallPath : public CWizardPage {
 public:
  explicit CChangeInstallPath(engine::SetupSession& session);
  // The destination path as the user left it.
  std::string GetPath() const { return path_.Text(); }
  // On the way to the installation the path must be usable: it becomes the install folder.
  bool Leave(PageKind next) override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR& header, LRESULT& result) override;

 private:
  void FillDriveList();
  // Puts the chosen folder plus the product's relative folder into the path box.
  void ComposeFrom(const std::string& chosenFolder);
  // The tree shows `root` ("E:") and selects it, which composes the path once more.
  void ShowDrive(const std::string& root);

  // One root ("C:\") per line of the drive list, in its order.
  std::vector<std::string> driveRoots_;
  std::string startingPath_;
  pages::RelativeFolder relative_;
  CFolderTree tree_;
  ui::CSyncEdit path_;
};

}  // namespace tarn::wizard
