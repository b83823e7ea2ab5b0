#include "wizard/RegisterInfo.h"

#include "res/resource.h"

namespace tarn::wizard {

CRegisterInfo::CRegisterInfo(engine::SetupSession& session)
    : CWizardPage(IDD_REGISTER_INFO, session, project::LanguageKey::RegisterInfoSubject,
                  project::LanguageKey::RegisterInfoDesc) {}

void CRegisterInfo::StoreValues() {}

}  // namespace tarn::wizard
