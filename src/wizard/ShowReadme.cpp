#include "wizard/ShowReadme.h"

#include "res/resource.h"

namespace tarn::wizard {

CShowReadme::CShowReadme(engine::SetupSession& session)
    : CWizardPage(IDD_README, session, project::LanguageKey::ShowReadmeSubject,
                  project::LanguageKey::ShowReadmeDesc),
      document_(session) {}

bool CShowReadme::OnInitDialog() {
  CWizardPage::OnInitDialog();
  document_.Create(Hwnd(), IDC_DOCUMENT, normalFont_.Get());
  return true;
}

void CShowReadme::SetTask(const project::Task* task) {
  CWizardPage::SetTask(task);
  document_.OpenTaskDocument(task, project::SubTaskType::ShowReadme,
                             "\\~TarnInstall-SoftReadme.MHT", "\\~TarnInstall-SoftReadme.HTM");
}

}  // namespace tarn::wizard
