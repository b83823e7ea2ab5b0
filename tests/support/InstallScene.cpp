#include "support/InstallScene.h"

#include "engine/InstallWorker.h"
#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/ProjectDocument.h"

namespace tarn::test {

using platform::RootKey;

const std::string kSceneLanguage =
    "[Language=409]\r\nInstallProcessDesc2=Preparing\r\nCreateFolderDesc=Folders\r\n"
    "CopyFileDesc=Files\r\nInstallFontDesc=Fonts\r\nOperationRegistryDesc=Registry\r\n"
    "RegisterComDesc=Components\r\nClearFileDesc=Leftovers\r\nCreateFileLinkDesc=Shortcuts\r\n"
    "ExitInstallTitle=Exit\r\nExitInstallMessage=Stop now?\r\nMessageDesc=Message\r\n"
    "WriteFileErrorDesc=Cannot write \r\nErrorExitInstallDesc=. Stop?\r\nProjectName=x\r\n"
    "UnInstallDesc=Remove \r\n";

std::string Sub(const std::string& inner, const std::string& type) {
  return "<SubTask ID=\"10001\" Type=\"" + type + "\">\r\n" + inner + "</SubTask>\r\n";
}

std::string Task(const std::string& id, const std::string& subTasks) {
  return "<Task ID=\"" + id + "\" Type=\"DataSetting\" IsExec=\"0\">\r\n" + subTasks +
         "</Task>\r\n";
}

std::string Files(const std::vector<std::string>& files) {
  std::string lines;
  for (const auto& f : files) lines += "<File>" + f + "</File>\r\n";
  return lines;
}

std::string Registry(const std::string& name, const std::string& value) {
  return "<RegRootKey>HKEY_CURRENT_USER</RegRootKey>\r\n<RegSubKey>\\Software\\Demo</RegSubKey>\r\n"
         "<RegVarName>" +
         name + "</RegVarName>\r\n<RegVarValue>" + value +
         "</RegVarValue>\r\n"
         "<RegDataType>0</RegDataType>\r\n<RegOperType>0</RegOperType>\r\n"
         "<IsOnlyToKey>0</IsOnlyToKey>\r\n";
}

namespace {

const std::string kProgramGroup = Task("2404", Sub("<Description>Demo Programs</Description>\r\n"));

}  // namespace

InstallScene::InstallScene() {
  for (const char* folder : {"temp", "setup", "WINDOWS\\system32", "WINDOWS\\Fonts", "Desktop",
                             "Start Menu\\Programs\\StartUp", "App"})
    dir.MakeFolder(folder);
  system.tempPath = dir.Path("temp") + "\\";
  system.modulePath = dir.Path("setup\\Setup.exe");
  system.windowsDirectory = dir.Path("WINDOWS");
  system.systemDirectory = dir.Path("WINDOWS\\system32");
  system.desktopDirectory = dir.Path("Desktop");
  const std::string shellFolders =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  registry.PutString(RootKey::LocalMachine, shellFolders, "Common Programs",
                     dir.Path("Start Menu\\Programs"));
  registry.PutString(RootKey::LocalMachine, shellFolders, "Common Startup",
                     dir.Path("Start Menu\\Programs\\StartUp"));
}

int InstallScene::Install(std::vector<PackageStream> streams, const std::string& fileQty,
                          const std::string& tasks) {
  if (!Load(std::move(streams), fileQty, tasks)) return 99;
  return engine::RunInstallWorker(session, host);
}

bool InstallScene::Load(std::vector<PackageStream> streams, const std::string& fileQty,
                        const std::string& tasks) {
  streams.insert(streams.begin(),
                 {"[TempFileDir]\\~TarnInstall-Language.ini", "K", kSceneLanguage});
  const std::string settings =
      "<ProjectName>Demo</ProjectName>\r\n<ProductVersion>1.5</ProductVersion>\r\n"
      "<CompanyDesc>Acme</CompanyDesc>\r\n<DiskSize>650000000</DiskSize>\r\n"
      "<FileQty>" +
      fileQty + "</FileQty>\r\n";
  const std::string otherTasks =
      tasks.find("ID=\"2404\"") == std::string::npos ? kProgramGroup + tasks : tasks;
  dir.WriteFile("setup\\Setup.exe", PackageImage(streams, [&](const std::string& lines) {
                  return ProjectDocument(settings,
                                         "<Folder>[InstallDir]\\data</Folder>\r\n"
                                         "<Folder>[start menu]\\</Folder>\r\n",
                                         lines + extraFileLines, otherTasks);
                }));
  if (!startup::LoadPackage(session) || !startup::ExtractInstallerFiles(session)) return false;
  startup::ApplyStartupDefaults(session);
  session.InstallDir = dir.Path("App");
  return true;
}

std::string InstallScene::Read(const std::string& relative) {
  std::string bytes;
  return dir.ReadFile(relative, bytes) ? bytes : "<missing>";
}
std::vector<std::string> InstallScene::ShellCalls(const std::string& what) {
  std::vector<std::string> paths;
  for (const auto& c : shell.calls)
    if (c.what == what) paths.push_back(c.path);
  return paths;
}

}  // namespace tarn::test
