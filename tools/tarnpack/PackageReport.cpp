#include "tarnpack/PackageReport.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "package/PackageAddress.h"
#include "package/PackageEntry.h"
#include "package/PackageReader.h"
#include "package/PackageTrailer.h"
#include "project/InstallProject.h"
#include "project/ProjectLoader.h"
#include "tarnpack/DiscardingFileSystem.h"
#include "text/ByteText.h"

namespace tarnpack {

namespace {

using tarn::package::PackageEntry;
using tarn::project::FieldName;
using tarn::project::SubTaskType;

// Paths handed to the package reader use backslashes, so that it finds the volume folder the
// way it does on Windows; the file layer of either system reads them.
std::string ReaderPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// A name for the project copy that no other tarnpack run uses at the same time, even on the same
// package: process id, the clock and a random number.
std::string UniqueProjectCopyName() {
#ifdef _WIN32
  const long pid = static_cast<long>(_getpid());
#else
  const long pid = static_cast<long>(getpid());
#endif
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned salt = 0;
  try {
    salt = std::random_device{}();
  } catch (const std::exception&) {
    // No random source: the process id and the clock still tell runs apart.
  }
  return "tarnpack-project-" + std::to_string(pid) + "-" +
         std::to_string(static_cast<long long>(ticks)) + "-" + std::to_string(salt) + ".xml";
}

// A package opened the way the setup program opens it: trailer, project, file list.
struct OpenedPackage {
  std::unique_ptr<tarn::platform::FileSystem> files = tarn::platform::MakeSystemFileSystem();
  std::atomic<bool> extractionOver{false};
  tarn::package::PackageTrailer trailer;
  tarn::project::InstallProject project;
  std::int64_t diskSize = 0;
  std::vector<std::string> fileList;
  std::vector<std::string> folderList;
};

bool OpenPackage(const ReportOptions& options, OpenedPackage& p, std::string& error) {
  const std::string setup = ReaderPath(options.setupPath);
  {
    auto file = p.files->Open(setup, tarn::platform::OpenMode::Read);
    if (!file) {
      error = "cannot open " + options.setupPath;
      return false;
    }
    // Signed or not, the way the setup program finds it.
    const auto located = tarn::package::LocateSetupTrailer(*file);
    if (!located) {
      error = options.setupPath + " holds no package trailer";
      return false;
    }
    p.trailer = located->trailer;
  }

  std::error_code ec;
  const auto temp = std::filesystem::temp_directory_path(ec);
  if (ec) {
    error = "no temporary folder for the project copy";
    return false;
  }
  const std::string projectCopy = ReaderPath((temp / UniqueProjectCopyName()).string());
  tarn::package::PackageReader reader(*p.files, p.extractionOver);
  reader.SetTrailer(p.trailer);
  reader.SetCapacity(static_cast<std::int64_t>(p.trailer.projectSize));
  bool extracted =
      reader.OpenVolume(setup, false) &&
      reader.ExtractEntry(projectCopy, static_cast<std::int64_t>(p.trailer.projectOffset),
                          static_cast<std::int64_t>(p.trailer.projectSize), false);
  const auto text = extracted ? tarn::platform::ReadWholeFile(*p.files, projectCopy) : std::nullopt;
  p.files->RemoveFile(projectCopy);
  if (!text) {
    error = "the project stream cannot be decoded: this is no package, or a broken one";
    return false;
  }
  if (!tarn::project::LoadProjectText(*text, options.codePage, p.project) ||
      !p.project.RebuildExtractionTask()) {
    error = "the project document cannot be read";
    return false;
  }
  p.diskSize = tarn::text::ParseDecimal32(
      p.project.GetFieldValue("2401", SubTaskType::GetAllVar, FieldName::DiskSize));
  p.project.GetFieldValues("2412", SubTaskType::FileList, FieldName::File, p.fileList);
  p.project.GetFieldValues("2412", SubTaskType::FolderList, FieldName::Folder, p.folderList);
  return true;
}

const char* KindLetter(tarn::package::EntryKind kind) {
  switch (kind) {
    case tarn::package::EntryKind::Application:
      return "A";
    case tarn::package::EntryKind::Installer:
      return "K";
    case tarn::package::EntryKind::RunAndDelete:
      return "L";
    case tarn::package::EntryKind::Stored:
      return "N";
    case tarn::package::EntryKind::RegistryImport:
      return "R";
    case tarn::package::EntryKind::Uninstaller:
      return "U";
    default:
      return "?";
  }
}

}  // namespace

bool ListPackage(const ReportOptions& options, std::ostream& out, std::string& error) {
  OpenedPackage p;
  if (!OpenPackage(options, p, error)) return false;
  const auto value = [&](FieldName name) {
    return p.project.GetFieldValue("2401", SubTaskType::GetAllVar, name);
  };
  out << "identity        " << p.trailer.IdentityText() << "\n"
      << "project stream  offset " << p.trailer.projectOffset << ", " << p.trailer.projectSize
      << " bytes\n"
      << "volume          " << p.trailer.volumeNumber << "\n"
      << "project         " << p.project.ProjectName() << " " << value(FieldName::ProductVersion)
      << " by " << value(FieldName::CompanyDesc) << "\n"
      << "install path    " << value(FieldName::InstallPath) << "\n"
      << "disk size       " << p.diskSize << "\n"
      << "tasks           " << p.project.TaskCount() << "\n"
      << "folders         " << p.folderList.size() << "\n"
      << "files           " << p.fileList.size() << " (FileQty " << value(FieldName::FileQty)
      << ", SoftwareSize " << value(FieldName::SoftwareSize) << ")\n";
  for (const auto& folder : p.folderList) out << "folder  " << folder << "\n";
  for (const auto& line : p.fileList) {
    const auto entry = PackageEntry::Parse(line);
    if (!entry) {
      out << "file    (entry line too long)\n";
      continue;
    }
    const auto at = tarn::package::LocateOffset(entry->Offset(), p.diskSize);
    out << "file    " << KindLetter(entry->Kind()) << " volume "
        << (at ? std::to_string(at->volume) : "?") << " at "
        << (at ? std::to_string(at->position) : "?") << ", " << entry->CompressedSize()
        << " bytes, " << entry->TimeStampText() << "  " << entry->Target() << "\n";
  }
  return true;
}

int VerifyPackage(const ReportOptions& options, std::ostream& out, std::string& error) {
  OpenedPackage p;
  if (!OpenPackage(options, p, error)) return -1;
  if (p.diskSize <= 0) {
    error = "DiskSize is not a positive number";
    return -1;
  }
  DiscardingFileSystem discard(*p.files);
  tarn::package::PackageReader reader(discard, p.extractionOver);
  reader.SetTrailer(p.trailer);
  reader.SetCapacity(p.diskSize);
  if (!reader.OpenVolume(ReaderPath(options.setupPath), false)) {
    error = "cannot open " + options.setupPath;
    return -1;
  }
  reader.SetSpanning(true);
  int failures = 0;
  for (const auto& line : p.fileList) {
    const auto entry = PackageEntry::Parse(line);
    discard.ResetWritten();
    const bool ok = entry && reader.ExtractEntry("NUL", entry->Offset(), entry->CompressedSize(),
                                                 entry->Kind() == tarn::package::EntryKind::Stored);
    if (!ok) {
      ++failures;
      out << "FAILED  " << (entry ? entry->Target() : line) << "\n";
    } else {
      out << "ok      " << entry->Target() << " (" << discard.Written() << " bytes)\n";
    }
  }
  out << p.fileList.size() - static_cast<std::size_t>(failures) << " passed, " << failures
      << " failed\n";
  return failures;
}

}  // namespace tarnpack
