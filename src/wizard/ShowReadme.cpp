#include "wizard/ShowReadme.h"

#include "res/resource.h"

namespace tarn::wizard {

CShowReadme::CShowReadme(engine::SetupSession& session)
    : CWizardPage(IDD_README, session, project::LanguageKey::ShowReadmeSubject,
                  project::LanguageKey::ShowReadmeDesc) {}

}  // namespace tarn::wizard
