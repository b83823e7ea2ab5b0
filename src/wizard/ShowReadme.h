#pragma once
// The installation notes.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CShowReadme : public CWizardPage {
 public:
  explicit CShowReadme(engine::SetupSession& session);
};

}  // namespace tarn::wizard
