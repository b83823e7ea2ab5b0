#include "support/ProductInstaller.h"

#include <algorithm>

#include "engine/InstallWorker.h"
#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/ProjectDocument.h"

namespace tarn::test {

namespace {

void Walk(platform::FileSystem& files, const std::string& folder, const std::string& shown,
          std::vector<std::string>& lines) {
  const auto entries = files.Enumerate(folder + "\\*.*");
  if (!entries) return;
  for (const auto& e : *entries) {
    if (e.name == "." || e.name == "..") continue;
    lines.push_back("file " + shown + e.name + (e.isDirectory ? "\\" : ""));
    if (e.isDirectory) Walk(files, folder + "\\" + e.name, shown + e.name + "\\", lines);
  }
}

void Walk(platform::RegistryKeyHandle& key, const std::string& path,
          std::vector<std::string>& lines) {
  const auto contents = key.Contents();
  if (!contents) return;
  lines.push_back("key " + path + " (" + std::to_string(contents->values) + " values)");
  for (const auto& sub : contents->subKeys) {
    if (auto child = key.OpenSubKey(sub, platform::RegistryAccess::Read))
      Walk(*child, path + "\\" + sub, lines);
  }
}

}  // namespace

int InstallProduct(InstallScene& scene, const Product& product) {
  engine::SetupSession s{scene.Services(scene.files)};
  std::vector<PackageStream> streams = product.streams;
  streams.insert(streams.begin(),
                 {"[TempFileDir]\\~TarnInstall-Language.ini", "K", kSceneLanguage});
  const std::string settings = "<ProjectName>" + product.name +
                               "</ProjectName>\r\n<ProductVersion>" + product.version +
                               "</ProductVersion>\r\n<CompanyDesc>Acme</CompanyDesc>\r\n"
                               "<DiskSize>1000</DiskSize>\r\n<FileQty>1</FileQty>\r\n";
  scene.dir.WriteFile(
      "setup\\Setup.exe", PackageImage(streams, [&](const std::string& lines) {
        return ProjectDocument(
            settings, "<Folder>[InstallDir]\\data</Folder>\r\n<Folder>[start menu]\\</Folder>\r\n",
            lines, product.tasks);
      }));
  if (!startup::LoadPackage(s) || !startup::ExtractInstallerFiles(s)) return 99;
  startup::ApplyStartupDefaults(s);
  s.InstallDir = scene.dir.Path(product.folder);
  scene.dir.MakeFolder(product.folder);
  s.ProgramFolderPath = product.name + " Programs";
  ScriptedInstallHost host;
  const int result = engine::RunInstallWorker(s, host);
  // The setup's own clean-up at exit: its temporary files go.
  for (const auto& temp : s.TempFileList) scene.files.RemoveFile(temp);
  return result;
}

std::string RecordOf(InstallScene& scene, const Product& product) {
  return scene.dir.Path(product.folder + "\\TarnUninstall " + product.name + " " + product.version +
                        ".UCIP");
}

std::vector<std::string> Snapshot(InstallScene& scene) {
  std::vector<std::string> lines;
  Walk(scene.dir.Files(), scene.dir.Path(), "", lines);
  for (auto root : {platform::RootKey::ClassesRoot, platform::RootKey::CurrentUser,
                    platform::RootKey::LocalMachine}) {
    if (auto key = scene.registry.Root(root))
      Walk(*key, std::to_string(static_cast<std::uint32_t>(root) & 0xF), lines);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace tarn::test
