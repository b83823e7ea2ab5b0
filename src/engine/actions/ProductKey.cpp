#include "engine/actions/ProductKey.h"

#include "project/TaskIds.h"

namespace tarn::engine {

namespace {

using project::FieldName;

std::string Property(const SetupSession& s, FieldName name) {
  return s.Project.GetFieldValue(project::task::Properties, project::SubTaskType::GetAllVar, name);
}

}  // namespace

std::string ProductKeyPath(const SetupSession& s, bool withVersion) {
  std::string path = std::string(kProductKey) + "\\" + Property(s, FieldName::CompanyDesc) + "\\" +
                     Property(s, FieldName::ProjectName);
  if (withVersion) path += "\\" + Property(s, FieldName::ProductVersion);
  return path;
}

}  // namespace tarn::engine
