#pragma once
// The program folder page: the Start-menu folder that receives the shortcuts.

#include "ui/SyncEdit.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CSelectProgramFolder : public CWizardPage {
 public:
  explicit CSelectProgramFolder(engine::SetupSession& session);
  // The folder name as the user left it.
  std::string GetFolderName() const { return folderName_.Text(); }
  // Leaving, the page hands its folder name to the session.
  void Hide() override;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void ListExistingFolders();

  ui::CSyncEdit folderName_;
};

}  // namespace tarn::wizard
