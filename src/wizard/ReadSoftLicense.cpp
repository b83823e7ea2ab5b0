#include "wizard/ReadSoftLicense.h"

#include "res/resource.h"

namespace tarn::wizard {

CReadSoftLicense::CReadSoftLicense(engine::SetupSession& session)
    : CWizardPage(IDD_LICENCE, session, project::LanguageKey::ReadSoftDocSubject,
                  project::LanguageKey::ReadSoftDocDesc),
      document_(session) {}

bool CReadSoftLicense::OnInitDialog() {
  CWizardPage::OnInitDialog();
  ui::ApplyFont(Hwnd(), normalFont_, {IDC_ACCEPT, IDC_REJECT});
  document_.Create(Hwnd(), IDC_DOCUMENT, normalFont_.Get());
  return true;
}

void CReadSoftLicense::SetTask(const project::Task* task) {
  CWizardPage::SetTask(task);
  SetItemText(IDC_ACCEPT, Text(project::LanguageKey::ReadSoftDocAcceptDesc));
  SetItemText(IDC_REJECT, Text(project::LanguageKey::ReadSoftDocRejectDesc));
  document_.OpenTaskDocument(task, project::SubTaskType::ShowSoftDoc, "\\~TarnInstall-SoftDoc.MHT",
                             "\\~TarnInstall-SoftDoc.HTM");
}

void CReadSoftLicense::Show() {
  CheckItem(IDC_ACCEPT, session_.LicenceAccepted);
  CheckItem(IDC_REJECT, !session_.LicenceAccepted);
  CWizardPage::Show();
}

bool CReadSoftLicense::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED && (id == IDC_ACCEPT || id == IDC_REJECT)) {
    session_.LicenceAccepted = id == IDC_ACCEPT;
    Changed();
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

}  // namespace tarn::wizard
