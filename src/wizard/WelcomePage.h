#pragma once
// The first page: the welcome picture, a light panel and four lines greeting the user.

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CWelcomePage : public CWizardPage {
 public:
  explicit CWelcomePage(engine::SetupSession& session);
};

}  // namespace tarn::wizard
