#include "wizard/WelcomePage.h"

#include "res/resource.h"

namespace tarn::wizard {

CWelcomePage::CWelcomePage(engine::SetupSession& session) : CWizardPage(IDD_WELCOME, session) {}

}  // namespace tarn::wizard
