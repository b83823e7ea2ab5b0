#pragma once
// `tarnpack build`: the setup program, a project document in the author's form and the files it
// names become a package: Setup.exe (stub + streams + project + trailer) and, when the package
// is larger than DiskSize, the volume files Setup2.Cab, Setup3.Cab, ...

#include <cstdint>
#include <optional>
#include <string>

#include "tarnpack/StreamPipeline.h"

namespace tarnpack {

struct BuildOptions {
  std::string stubPath;
  std::string projectPath;
  std::string outputPath;                // the setup file; volumes go next to it
  std::optional<std::int64_t> diskSize;  // overrides the document's DiskSize
  // Default: ten digits of a digest of the package and the newest input's last-write time, so
  // that the same inputs give the same package and other inputs another identity.
  std::optional<std::string> identity;
  // The uninstaller packed when the file list has no entry of kind U; by default the
  // Tarn-UnInstall.exe beside the stub, packed only if it is there.
  std::optional<std::string> uninstallerPath;
  unsigned threads = 0;     // compressing threads; 0: one per core
  ProgressReport progress;  // told now and then how far the build is
};

struct BuildResult {
  std::int32_t volumes = 0;
  std::size_t files = 0;
  std::uint64_t packageBytes = 0;
  // The uninstaller added to the file list, if one was.
  std::string addedUninstaller;
};

bool BuildPackage(const BuildOptions& options, BuildResult& result, std::string& error);

}  // namespace tarnpack
