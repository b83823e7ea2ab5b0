#pragma once
// The program folder page: the Start-menu folder that receives the shortcuts.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CSelectProgramFolder : public CWizardPage {
 public:
  explicit CSelectProgramFolder(engine::SetupSession& session);
  // The folder name as the user left it.
  std::string GetFolderName() const;
};

}  // namespace tarn::wizard
