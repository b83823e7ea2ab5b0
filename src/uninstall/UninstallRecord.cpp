#include "uninstall/UninstallRecord.h"

#include "digest/Sha256.h"
#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "project/ProjectLoader.h"
#include "project/TaskIds.h"
#include "startup/PackageLoader.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::uninstall {

namespace {

using project::FieldName;

std::string Property(const engine::SetupSession& s, FieldName name) {
  return s.Project.GetFieldValue(project::task::Properties, project::SubTaskType::GetAllVar, name);
}

}  // namespace

std::string ProductTitle(const engine::SetupSession& s) {
  return Property(s, FieldName::ProjectName) + " " + Property(s, FieldName::ProductVersion);
}

RecordProblem LoadRecord(engine::SetupSession& s, const std::string& recordPath) {
  const auto text = platform::ReadWholeFile(s.System.files, recordPath, project::kMaxDocumentSize);
  if (!text) return RecordProblem::Missing;
  if (!project::LoadProjectText(*text, s.CodePage, s.Project) ||
      !s.Project.RebuildExtractionTask() || Property(s, FieldName::ProjectName).empty() ||
      Property(s, FieldName::ProductVersion).empty())
    return RecordProblem::Unparsable;

  engine::RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(engine::ProductKeyPath(s, true), false)) return RecordProblem::NotRegistered;
  const std::string hash = key.QueryString(engine::kRecordHash);
  if (hash.empty()) return RecordProblem::NotRegistered;
  if (!text::EqualsIgnoreAsciiCase(hash, digest::Sha256Hex(*text))) return RecordProblem::Changed;
  const std::string programFolder = key.QueryString("ProgramFolder");
  s.ProgramFolderPath = programFolder.empty() ? "" : programFolder + "\\";

  std::string installDir;
  if (key.OpenPath(engine::ProductKeyPath(s, false), false)) installDir = key.QueryString("Path");
  // Without the value the record's own folder is the installation folder: it was put there.
  s.InstallDir = !installDir.empty() ? installDir : text::FolderOf(recordPath, s.CodePage, 3);
  startup::FindQuickLaunchFolders(s);
  return RecordProblem::None;
}

const char* DescribeRecordProblem(RecordProblem problem) {
  switch (problem) {
    case RecordProblem::None:
      return "the record is in order";
    case RecordProblem::Missing:
      return "the uninstall record cannot be read";
    case RecordProblem::Unparsable:
      return "the uninstall record is not a project document of this system";
    case RecordProblem::NotRegistered:
      return "the product of this record is not registered on this computer";
    case RecordProblem::Changed:
      return "the uninstall record was changed after the installation";
  }
  return "";
}

}  // namespace tarn::uninstall
