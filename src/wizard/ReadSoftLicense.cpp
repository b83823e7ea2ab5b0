#include "wizard/ReadSoftLicense.h"

#include "res/resource.h"

namespace tarn::wizard {

CReadSoftLicense::CReadSoftLicense(engine::SetupSession& session)
    : CWizardPage(IDD_LICENCE, session, project::LanguageKey::ReadSoftDocSubject,
                  project::LanguageKey::ReadSoftDocDesc) {}

}  // namespace tarn::wizard
