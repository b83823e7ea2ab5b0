#include "wizard/RegisterInfo.h"

#include "engine/RegistryKey.h"
#include "engine/RegistryOperations.h"
#include "project/OsClass.h"
#include "res/resource.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

constexpr const char* kWindowsVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtVersionKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

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

  const project::OsClass os = project::GetOsClass(session_.System.system);
  const bool windows9x = os == project::OsClass::Windows98 || os == project::OsClass::WindowsMe;
  engine::RegistryKey key(session_.System.registry, session_.CodePage,
                          platform::RootKey::LocalMachine);
  key.OpenPath(windows9x ? kWindowsVersionKey : kNtVersionKey, true);
  name_.SetText(key.QueryString("RegisteredOwner"));
  company_.SetText(key.QueryString("RegisteredOrganization"));
  key.Close();
  return true;
}

void CRegisterInfo::StoreValues() {
  if (!task_) return;
  engine::RegistryKey holder(session_.System.registry, session_.CodePage,
                             platform::RootKey::LocalMachine);
  for (const project::SubTask& subTask : task_->SubTasks()) {
    if (subTask.Type() != project::SubTaskType::EditBox) continue;
    for (const project::FieldEntry& field : subTask.Fields()) {
      if (field.Name() != project::FieldName::Description) continue;
      const std::int32_t index = project::LanguageTokenIndexOf(field.Value());
      if (index == static_cast<std::int32_t>(LanguageKey::RegisterInfoUserDesc))
        engine::ExecuteRegistrySubTask(holder, subTask, name_.Text(), session_.Paths());
      else if (index == static_cast<std::int32_t>(LanguageKey::RegisterInfoCompanyDesc))
        engine::ExecuteRegistrySubTask(holder, subTask, company_.Text(), session_.Paths());
    }
  }
  holder.Close();
}

}  // namespace tarn::wizard
