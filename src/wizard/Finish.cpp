#include "wizard/Finish.h"

#include "res/resource.h"

namespace tarn::wizard {

CFinish::CFinish(engine::SetupSession& session)
    : CWizardPage(IDD_FINISH, session, project::LanguageKey::ShowFinishSubject) {}

bool CFinish::Create(HWND frame) {
  const bool created = CWizardPage::Create(frame);
  description_ =
      Text(project::LanguageKey::ProjectName) + Text(project::LanguageKey::ShowFinishDesc);
  return created;
}

void CFinish::SetFinishTask(const project::Task* task) { task_ = task; }

bool CFinish::IsChecked(int id) const {
  return SendDlgItemMessageA(Hwnd(), id, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void CFinish::FinishActions() {}

}  // namespace tarn::wizard
