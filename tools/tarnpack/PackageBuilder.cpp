#include "tarnpack/PackageBuilder.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "package/PackageTrailer.h"
#include "tarnpack/AuthorDocument.h"
#include "tarnpack/LzmaStreamWriter.h"
#include "tarnpack/PatternSources.h"
#include "tarnpack/ProjectCheck.h"
#include "tarnpack/ProjectTemplate.h"
#include "tarnpack/VolumeWriter.h"
#include "text/ByteText.h"

namespace tarnpack {

namespace {

// DiskSize is read by the setup program as a signed 32-bit number.
constexpr std::int64_t kLargestDiskSize = 2147483647;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct SourceInfo {
  std::uint64_t size = 0;
  std::string modified;  // local time, entry format
};

std::optional<SourceInfo> Inspect(const std::string& path) {
#ifdef _WIN32
  struct _stat64 st {};
  if (_stat64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFREG) == 0) return std::nullopt;
  const std::time_t mtime = static_cast<std::time_t>(st.st_mtime);
  std::tm local{};
  localtime_s(&local, &mtime);
#else
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const std::time_t mtime = st.st_mtime;
  std::tm local{};
  localtime_r(&mtime, &local);
#endif
  SourceInfo info;
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.modified = FormatTimeStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                  local.tm_hour, local.tm_min, local.tm_sec);
  return info;
}

std::string DefaultIdentity() {
  std::random_device random;
  std::string digits;
  for (int i = 0; i < 10; ++i) digits += static_cast<char>('0' + random() % 10);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
  return digits + stamp;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return true;
}

}  // namespace

bool BuildPackage(const BuildOptions& options, BuildResult& result, std::string& error) {
  std::string documentText;
  if (!ReadWhole(options.projectPath, documentText)) {
    error = "cannot read the project " + options.projectPath;
    return false;
  }
  // Nothing is written for a project with problems; the check names them all at once.
  const std::string projectFolder = FolderOf(options.projectPath);
  const auto problems = CheckProject(documentText, projectFolder);
  for (const auto& problem : problems)
    error += (error.empty() ? "" : "\n") + FormatProblem(options.projectPath, problem);
  if (!problems.empty()) return false;
  const auto lines = SplitDocumentLines(documentText);
  const std::uint32_t codePage = DeclaredCodePage(lines);
  const auto expanded = ExpandSources(lines, projectFolder, codePage);
  if (expanded.hasPatterns) documentText = JoinDocumentLines(expanded.lines);

  ProjectTemplate document;
  if (!document.Parse(documentText, error)) {
    error = options.projectPath + ": " + error;
    return false;
  }

  std::int64_t diskSize = kLargestDiskSize;
  if (options.diskSize) {
    diskSize = *options.diskSize;
  } else if (const auto value = document.Setting("DiskSize"); value && !value->empty()) {
    diskSize = tarn::text::ParseDecimal64(*value);
  }
  if (diskSize <= 0 || diskSize > kLargestDiskSize) {
    error = "DiskSize must lie between 1 and " + std::to_string(kLargestDiskSize);
    return false;
  }
  if (!document.SetSetting("DiskSize", std::to_string(diskSize))) {
    error = options.projectPath + ": task 2401 has no <DiskSize> line in its GetAllVar subtask";
    return false;
  }

  const auto stub = Inspect(options.stubPath);
  if (!stub) {
    error = "cannot read the setup program " + options.stubPath;
    return false;
  }
  if (stub->size >= static_cast<std::uint64_t>(diskSize)) {
    error =
        "DiskSize must be larger than the setup program (" + std::to_string(stub->size) + " bytes)";
    return false;
  }

  const bool hasUninstaller = std::any_of(document.Entries().begin(), document.Entries().end(),
                                          [](const SourceEntry& e) { return e.kind == 'U'; });
  if (!hasUninstaller) {
    const std::string beside = FolderOf(options.stubPath);
    const std::string uninstaller = options.uninstallerPath.value_or(
        (beside.empty() ? std::string() : beside + "/") + "Tarn-UnInstall.exe");
    if (options.uninstallerPath || Inspect(uninstaller)) {
      // Absolute, so that the project's folder does not change where it is looked for.
      result.addedUninstaller = std::filesystem::absolute(uninstaller).generic_string();
      document.AppendEntry("[Windows Directory]\\Tarn-UnInstall.exe", result.addedUninstaller, 'U');
    }
  }

  // Check every source before writing anything.
  std::vector<SourceInfo> sources;
  for (const auto& e : document.Entries()) {
    const auto info = Inspect(HostSourcePath(projectFolder, e.source, codePage));
    if (!info) {
      error = options.projectPath + ": line " + std::to_string(e.line + 1) + ": the source file " +
              e.source + " is missing";
      return false;
    }
    sources.push_back(*info);
  }

  tarn::package::PackageTrailer identity;
  if (!identity.SetIdentityText(options.identity.value_or(DefaultIdentity()))) {
    error = "the identity must be shorter than 64 bytes";
    return false;
  }
  identity.reserved = 2;
  VolumeWriter writer(FolderOf(options.outputPath), NameOf(options.outputPath), diskSize, identity);
  if (!writer.Open(error)) return false;
  const ByteSink sink = [&writer](const std::uint8_t* data, std::size_t size) {
    return writer.Write(data, size);
  };

  std::ifstream stubIn(options.stubPath, std::ios::binary);
  std::string copyError;
  auto copy = [&](std::istream& in, std::uint64_t size) {
    std::vector<char> buf(1 << 16);
    while (size > 0) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, buf.size()));
      in.read(buf.data(), static_cast<std::streamsize>(n));
      if (static_cast<std::size_t>(in.gcount()) != n ||
          !writer.Write(reinterpret_cast<const std::uint8_t*>(buf.data()), n))
        return false;
      size -= n;
    }
    return true;
  };
  if (!copy(stubIn, stub->size)) {
    error = "cannot copy the setup program into " + options.outputPath;
    return false;
  }

  std::uint64_t softwareSize = 0;
  std::size_t counted = 0;
  for (std::size_t i = 0; i < document.Entries().size(); ++i) {
    const SourceEntry& e = document.Entries()[i];
    const std::string path = HostSourcePath(projectFolder, e.source, codePage);
    std::ifstream in(path, std::ios::binary);
    const std::uint64_t offset = writer.Address();
    const bool ok = e.kind == 'N' ? copy(in, sources[i].size)
                                  : WriteLzmaStream(in, sources[i].size, sink, copyError);
    if (!ok) {
      error = path + ": " + (copyError.empty() ? "cannot copy into the package" : copyError);
      return false;
    }
    const std::uint64_t size = writer.Address() - offset;
    const std::string timeStamp = e.timeStamp.empty() ? sources[i].modified : e.timeStamp;
    document.SetFileValue(e.line, e.target + "," + std::to_string(offset) + "," +
                                      std::to_string(size) + "," + e.kind + "," + timeStamp);
    if (e.kind != 'K') {
      softwareSize += sources[i].size;
      ++counted;
    }
  }
  if (const auto v = document.Setting("FileQty"); v && v->empty())
    document.SetSetting("FileQty", std::to_string(counted));
  if (const auto v = document.Setting("SoftwareSize"); v && v->empty())
    document.SetSetting("SoftwareSize", std::to_string(softwareSize));

  if (!writer.Finish(LzmaCompress(document.Text()), error)) return false;
  result.volumes = writer.Volumes();
  result.files = document.Entries().size();
  result.packageBytes = writer.Address();
  return true;
}

}  // namespace tarnpack
