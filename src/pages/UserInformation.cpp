#include "pages/UserInformation.h"

#include "engine/actions/RegistryKey.h"
#include "engine/actions/RegistryOperations.h"
#include "project/OsClass.h"

namespace tarn::pages {

using engine::ExecuteRegistrySubTask;
using engine::RegistryKey;
using engine::SetupSession;

namespace {

using project::LanguageKey;

constexpr const char* kWindowsVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtVersionKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

}  // namespace

RegisteredUser ReadRegisteredUser(SetupSession& s) {
  const project::OsClass os = project::GetOsClass(s.System.system);
  const bool windows9x = os == project::OsClass::Windows98 || os == project::OsClass::WindowsMe;
  RegistryKey key(s.System.registry, s.CodePage, platform::RootKey::LocalMachine);
  key.OpenPath(windows9x ? kWindowsVersionKey : kNtVersionKey, true);
  RegisteredUser user{key.QueryString("RegisteredOwner"),
                      key.QueryString("RegisteredOrganization")};
  key.Close();
  return user;
}

void StoreUserInformation(SetupSession& s, const project::Task& task, const std::string& name,
                          const std::string& company) {
  RegistryKey holder(s.System.registry, s.CodePage, platform::RootKey::LocalMachine);
  for (const project::SubTask& subTask : task.SubTasks()) {
    if (subTask.Type() != project::SubTaskType::EditBox) continue;
    for (const project::FieldEntry& field : subTask.Fields()) {
      if (field.Name() != project::FieldName::Description) continue;
      const std::int32_t index = project::LanguageTokenIndexOf(field.Value());
      if (index == static_cast<std::int32_t>(LanguageKey::RegisterInfoUserDesc))
        ExecuteRegistrySubTask(holder, subTask, name, s.Paths());
      else if (index == static_cast<std::int32_t>(LanguageKey::RegisterInfoCompanyDesc))
        ExecuteRegistrySubTask(holder, subTask, company, s.Paths());
    }
  }
  holder.Close();
}

}  // namespace tarn::pages
