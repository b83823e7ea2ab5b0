#include "project/ProjectLoader.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "package/PackageEntry.h"
#include "platform/Memory.h"
#include "project/DocumentReader.h"
#include "project/ExtractionText.h"
#include "project/FieldLine.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

constexpr std::string_view kExtractionStart = "<Task ID=\"2412\"";
constexpr std::string_view kDocumentEnd = "</InstallProject>\r\n";

bool LoadDocument(std::string_view text, std::uint32_t codePage, InstallProject& project);

bool ReadWholeFile(platform::File& file, std::string& text) {
  constexpr std::size_t kChunk = 1u << 20;
  if (const auto length = file.Length()) {
    if (*length > kMaxDocumentSize || !platform::RoomFor(*length + kChunk)) return false;
    text.reserve(static_cast<std::size_t>(*length) + kChunk);
  }
  // The buffer only grows while reading: shrinking it after each short read and growing it again
  // cleared a whole chunk every time, which made a file read in small pieces quadratic.
  std::size_t used = 0;
  for (;;) {
    if (text.size() - used < kChunk) text.resize(used + kChunk);
    std::size_t got = 0;
    if (!file.Read(&text[used], text.size() - used, got)) return false;
    used += got;
    if (got == 0) {
      text.resize(used);
      return true;
    }
    if (used > kMaxDocumentSize) return false;
  }
}

// The extraction task as it stands at load: an empty folder list and the file list's leading
// entries of the installer's own files, which the loading sequence extracts before the wizard.
Task LoadTimeExtractionTask(const ListSection& files, std::uint32_t codePage) {
  SubTask fileList("10002", SubTaskType::FileList);
  for (std::string_view line : files.lines) {
    FieldEntry field = ParseFieldLine(line, codePage);
    const auto entry = package::PackageEntry::Parse(field.Value());
    if (!entry || entry->Kind() != package::EntryKind::Installer) break;
    fileList.AddField(std::move(field));
  }
  Task task(std::string(kExtractionTaskId), TaskType::ExtractFiles, false);
  task.AddSubTask(SubTask("10001", SubTaskType::FolderList));
  task.AddSubTask(std::move(fileList));
  return task;
}

}  // namespace

bool LoadProject(platform::FileSystem& fileSystem, const std::string& path, std::uint32_t codePage,
                 InstallProject& project) {
  project.Clear();
  const std::unique_ptr<platform::File> file = fileSystem.Open(path, platform::OpenMode::Read);
  if (!file) return false;
  std::string text;
  if (!ReadWholeFile(*file, text)) return false;
  return LoadProjectText(text, codePage, project);
}

bool LoadProjectText(std::string_view text, std::uint32_t codePage, InstallProject& project) {
  // The project keeps most of the text, in many small pieces: when this address space cannot
  // hold twice the document, it is refused like a broken one.
  project.Clear();
  if (!platform::RoomFor(2 * std::uint64_t{text.size()})) return false;
  return LoadDocument(text, codePage, project);
}

namespace {

bool LoadDocument(std::string_view text, std::uint32_t codePage, InstallProject& project) {
  project.Clear();
  // The builder never writes a NUL; one means the document was damaged on its way here.
  if (text.find('\0') != std::string_view::npos) return false;

  const std::size_t extractionStart = text::FindText(text, kExtractionStart, codePage);
  if (extractionStart == text::npos) return false;
  // The extraction text runs to the end of the document less its closing line.
  std::string_view extractionText = text.substr(extractionStart);
  extractionText.remove_suffix(std::min(kDocumentEnd.size(), extractionText.size()));

  ListSection folders;
  ListSection files;
  if (!FindExtractionLists(extractionText, codePage, folders, files)) return false;
  // At load the file list is read from the first file-list start line, not from where the
  // folder list ends; in a document from the builder the two are the same line.
  if (!FindListSection(extractionText, "FileList", "<File>", codePage, 0, files)) return false;

  std::string mainDocument(text.substr(0, extractionStart));
  mainDocument += kDocumentEnd;
  ParseDocument(mainDocument, codePage, project);
  project.AddTask(LoadTimeExtractionTask(files, codePage));
  project.SetExtractionText(std::string(extractionText), codePage);
  project.SetProjectName(
      project.GetFieldValue("2401", SubTaskType::GetAllVar, FieldName::ProjectName));
  return true;
}

}  // namespace

}  // namespace tarn::project
