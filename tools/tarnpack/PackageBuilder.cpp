#include "tarnpack/PackageBuilder.h"

#include <sys/stat.h>

#include <lzma.h>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include <sstream>
#include <thread>

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
  std::time_t lastWrite = 0;
  std::string modified;  // local time, entry format
};

std::tm LocalTime(std::time_t time) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  return local;
}

std::optional<SourceInfo> Inspect(const std::string& path) {
#ifdef _WIN32
  struct _stat64 st {};
  if (_stat64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFREG) == 0) return std::nullopt;
#else
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
#endif
  SourceInfo info;
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.lastWrite = static_cast<std::time_t>(st.st_mtime);
  const std::tm local = LocalTime(info.lastWrite);
  info.modified = FormatTimeStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                  local.tm_hour, local.tm_min, local.tm_sec);
  return info;
}

// Ten digits of the package's digest, then the newest input's last-write time as yyyymmddhhmmss:
// the form of an identity made from the build time, but the same for the same inputs.
std::string DerivedIdentity(std::uint64_t digest, std::time_t newest) {
  std::string digits = std::to_string(digest % 10000000000u);
  digits.insert(0, 10 - digits.size(), '0');
  const std::tm local = LocalTime(newest);
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
  if (!identity.SetIdentityText(options.identity.value_or(std::string()))) {
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

  std::vector<StreamSource> streams;
  for (std::size_t i = 0; i < document.Entries().size(); ++i) {
    const SourceEntry& e = document.Entries()[i];
    streams.push_back(
        {HostSourcePath(projectFolder, e.source, codePage), sources[i].size, e.kind == 'N'});
  }
  PipelineOptions pipeline;
  pipeline.threads = options.threads > 0 ? options.threads : std::thread::hardware_concurrency();
  pipeline.progress = options.progress;
  std::vector<std::uint64_t> ends;
  const std::uint64_t firstOffset = writer.Address();
  if (!WriteStreams(
          streams, pipeline, sink, [&](std::size_t) { ends.push_back(writer.Address()); }, error))
    return false;

  std::uint64_t softwareSize = 0;
  std::size_t counted = 0;
  for (std::size_t i = 0; i < document.Entries().size(); ++i) {
    const SourceEntry& e = document.Entries()[i];
    const std::uint64_t offset = i == 0 ? firstOffset : ends[i - 1];
    const std::uint64_t size = ends[i] - offset;
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

  const std::string projectStream = LzmaCompress(document.Text());
  if (!options.identity) {
    std::time_t newest = stub->lastWrite;
    for (const auto& source : sources) newest = std::max(newest, source.lastWrite);
    const auto digest = lzma_crc64(reinterpret_cast<const std::uint8_t*>(projectStream.data()),
                                   projectStream.size(), writer.Digest());
    writer.SetIdentityText(DerivedIdentity(digest, newest));
  }
  if (!writer.Finish(projectStream, error)) return false;
  result.volumes = writer.Volumes();
  result.files = document.Entries().size();
  result.packageBytes = writer.Address();
  return true;
}

}  // namespace tarnpack
