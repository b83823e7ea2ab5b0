#include "wizard/ChangeInstallPath.h"

#include "res/resource.h"

namespace tarn::wizard {

CChangeInstallPath::CChangeInstallPath(engine::SetupSession& session)
    : CWizardPage(IDD_INSTALL_PATH, session, project::LanguageKey::ChangePathSubject,
                  project::LanguageKey::ChangePathDesc) {}

std::string CChangeInstallPath::GetPath() const { return session_.InstallDir; }

}  // namespace tarn::wizard
