#pragma once
// The user information page: name and company, written to the registry as the project says.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CRegisterInfo : public CWizardPage {
 public:
  explicit CRegisterInfo(engine::SetupSession& session);
  // Writes the entered texts through the page's EditBox operations; every departure does.
  void StoreValues();
};

}  // namespace tarn::wizard
