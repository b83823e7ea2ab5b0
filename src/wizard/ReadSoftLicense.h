#pragma once
// The licence agreement: the document, and the choice between accepting and rejecting it.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CReadSoftLicense : public CWizardPage {
 public:
  explicit CReadSoftLicense(engine::SetupSession& session);
};

}  // namespace tarn::wizard
