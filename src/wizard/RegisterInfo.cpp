#include "wizard/RegisterInfo.h"

#include "pages/UserInformation.h"
#include "res/resource.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

}  // namespace

CRegisterInfo::CRegisterInfo(engine::SetupSession& session)
    : CWizardPage(IDD_REGISTER_INFO, session, LanguageKey::RegisterInfoSubject,
                  LanguageKey::RegisterInfoDesc) {}

void CRegisterInfo::SetTask(const project::Task* task) {
  SetItemText(IDC_COMPANY_CAPTION, Text(LanguageKey::RegisterInfoCompanyDesc));
  SetItemText(IDC_USER_CAPTION, Text(LanguageKey::RegisterInfoUserDesc));
  CWizardPage::SetTask(task);
}

bool CRegisterInfo::OnInitDialog() {
  CWizardPage::OnInitDialog();
  name_.Attach(Hwnd(), IDC_USER_NAME);
  company_.Attach(Hwnd(), IDC_COMPANY);
  ui::ApplyFont(Hwnd(), normalFont_,
                {IDC_USER_NAME, IDC_COMPANY, IDC_COMPANY_CAPTION, IDC_USER_CAPTION});
  const pages::RegisteredUser user = pages::ReadRegisteredUser(session_);
  name_.SetText(user.owner);
  company_.SetText(user.organisation);
  return true;
}

void CRegisterInfo::Hide() {
  CWizardPage::Hide();
  StoreValues();
}

void CRegisterInfo::StoreValues() {
  if (task_) pages::StoreUserInformation(session_, *task_, name_.Text(), company_.Text());
}

}  // namespace tarn::wizard
