// tarnpack: build, list and verify TarnInstall packages.
#include <cstdio>
#include <cstring>
#include <string>

#include "tarnpack/PackageBuilder.h"
#include "text/ByteText.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage:\n"
               "  tarnpack build --stub TarnSetup.exe --project project.xml -o Setup.exe\n"
               "                 [--disk-size N] [--identity TEXT]\n");
  return 2;
}

int Build(int argc, char** argv) {
  tarnpack::BuildOptions options;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (arg == "--stub")
      options.stubPath = value;
    else if (arg == "--project")
      options.projectPath = value;
    else if (arg == "-o")
      options.outputPath = value;
    else if (arg == "--disk-size")
      options.diskSize = tarn::text::ParseDecimal64(value);
    else if (arg == "--identity")
      options.identity = value;
    else
      return Usage();
  }
  if (options.stubPath.empty() || options.projectPath.empty() || options.outputPath.empty())
    return Usage();
  tarnpack::BuildResult result;
  std::string error;
  if (!tarnpack::BuildPackage(options, result, error)) {
    std::fprintf(stderr, "tarnpack: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %zu files, %llu bytes of package in %d volume(s)\n", options.outputPath.c_str(),
              result.files, static_cast<unsigned long long>(result.packageBytes), result.volumes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "build") == 0) return Build(argc, argv);
  return Usage();
}
