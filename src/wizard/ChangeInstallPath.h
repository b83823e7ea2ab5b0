#pragma once
// The install path page: the destination folder, a folder tree of one drive and the drive list.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CChangeInstallPath : public CWizardPage {
 public:
  explicit CChangeInstallPath(engine::SetupSession& session);
  // The destination path as the user left it.
  std::string GetPath() const;
};

}  // namespace tarn::wizard
