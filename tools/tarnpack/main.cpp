// tarnpack: build, list and verify TarnInstall packages.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <iostream>

#include "tarnpack/PackageBuilder.h"
#include "tarnpack/PackageReport.h"
#include "tarnpack/ProgressLine.h"
#include "tarnpack/ProjectCheck.h"
#include "tarnpack/StarterProject.h"
#include "text/ByteText.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage:\n"
               "  tarnpack init FOLDER --name NAME --version V --company C [-o project.xml]\n"
               "  tarnpack check project.xml\n"
               "  tarnpack build --stub TarnSetup.exe --project project.xml -o Setup.exe\n"
               "                 [--disk-size N] [--identity TEXT] [--uninstaller PATH]\n"
               "                 [--threads N]\n"
               "  tarnpack list Setup.exe [--code-page N]\n"
               "  tarnpack verify Setup.exe [--code-page N]\n");
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
    else if (arg == "--uninstaller")
      options.uninstallerPath = value;
    else if (arg == "--threads" && value.find_first_not_of("0123456789") == std::string::npos &&
             tarn::text::ParseDecimal32(value) > 0)
      options.threads = static_cast<unsigned>(tarn::text::ParseDecimal32(value));
    else
      return Usage();
  }
  if (options.stubPath.empty() || options.projectPath.empty() || options.outputPath.empty())
    return Usage();
  tarnpack::ProgressLine progress(stderr);
  if (tarnpack::IsTerminal(stderr))
    options.progress = [&progress](const tarnpack::BuildProgress& p) { progress.Show(p); };
  tarnpack::BuildResult result;
  std::string error;
  if (!tarnpack::BuildPackage(options, result, error)) {
    progress.End();
    std::fprintf(stderr, "tarnpack: %s\n", error.c_str());
    return 1;
  }
  if (!result.addedUninstaller.empty())
    std::printf("uninstaller added: %s\n", result.addedUninstaller.c_str());
  std::printf("%s: %zu files, %llu bytes of package in %d volume(s)\n", options.outputPath.c_str(),
              result.files, static_cast<unsigned long long>(result.packageBytes), result.volumes);
  return 0;
}

bool ReportArguments(int argc, char** argv, tarnpack::ReportOptions& options) {
  if (argc < 3) return false;
  options.setupPath = argv[2];
  for (int i = 3; i < argc; i += 2) {
    if (std::strcmp(argv[i], "--code-page") != 0 || i + 1 >= argc) return false;
    options.codePage = static_cast<std::uint32_t>(tarn::text::ParseDecimal32(argv[i + 1]));
  }
  return true;
}

int List(int argc, char** argv) {
  tarnpack::ReportOptions options;
  if (!ReportArguments(argc, argv, options)) return Usage();
  std::string error;
  if (!tarnpack::ListPackage(options, std::cout, error)) {
    std::fprintf(stderr, "tarnpack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int Verify(int argc, char** argv) {
  tarnpack::ReportOptions options;
  if (!ReportArguments(argc, argv, options)) return Usage();
  std::string error;
  const int failures = tarnpack::VerifyPackage(options, std::cout, error);
  if (failures < 0) std::fprintf(stderr, "tarnpack: %s\n", error.c_str());
  return failures == 0 ? 0 : 1;
}

int Init(int argc, char** argv) {
  if (argc < 3) return Usage();
  tarnpack::StarterOptions options;
  options.folder = argv[2];
  for (int i = 3; i < argc; i += 2) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[i + 1];
    if (arg == "--name")
      options.name = value;
    else if (arg == "--version")
      options.version = value;
    else if (arg == "--company")
      options.company = value;
    else if (arg == "-o")
      options.projectPath = value;
    else
      return Usage();
  }
  if (options.name.empty() || options.version.empty() || options.company.empty()) return Usage();
  std::vector<std::string> notes;
  std::string error;
  if (!tarnpack::WriteStarterProject(options, notes, error)) {
    std::fprintf(stderr, "tarnpack: %s\n", error.c_str());
    return 1;
  }
  for (const auto& note : notes) std::printf("%s\n", note.c_str());
  return 0;
}

int Check(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::string path = argv[2];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tarnpack: cannot read the project %s\n", path.c_str());
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  const std::size_t slash = path.find_last_of("/\\");
  const auto problems = tarnpack::CheckProject(
      text.str(), slash == std::string::npos ? std::string() : path.substr(0, slash));
  for (const auto& problem : problems)
    std::printf("%s\n", tarnpack::FormatProblem(path, problem).c_str());
  if (problems.empty()) std::printf("%s: no problems found\n", path.c_str());
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "build") == 0) return Build(argc, argv);
  if (std::strcmp(argv[1], "init") == 0) return Init(argc, argv);
  if (std::strcmp(argv[1], "check") == 0) return Check(argc, argv);
  if (std::strcmp(argv[1], "list") == 0) return List(argc, argv);
  if (std::strcmp(argv[1], "verify") == 0) return Verify(argc, argv);
  return Usage();
}
