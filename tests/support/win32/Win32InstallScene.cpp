#include "support/win32/Win32InstallScene.h"

#include <chrono>

#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/InstallScene.h"
#include "support/ProjectDocument.h"
#include "support/win32/FilesOnDisk.h"
#include "support/win32/RegistryValues.h"
#include "tarnpack/PackageBuilder.h"

namespace tarn::test {

namespace {

// The tiny program the package runs as its kind-L entry: built beside the tests, it exits at
// once with the code TARN_PROVIDE_EXIT gives and appends "ran exit=<code> path=<itself>" to the
// file TARN_PROVIDE_MARKER names, which proves it ran and from where.
std::string MarkerProgram() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  for (int up = 0; up < 3; ++up) path = path.substr(0, path.find_last_of('\\'));
  return path + "\\bin\\ProvideForInstall.exe";
}

std::string RegistryOperation(const std::string& subKey, const std::string& name,
                              const std::string& value, int type, int operation, int keyOnly) {
  return Sub("<RegRootKey>HKEY_LOCAL_MACHINE</RegRootKey>\r\n<RegSubKey>\\" + subKey +
                 "</RegSubKey>\r\n<RegVarName>" + name +
                 "</RegVarName>\r\n"
                 "<RegVarValue>" +
                 value + "</RegVarValue>\r\n<RegDataType>" + std::to_string(type) +
                 "</RegDataType>\r\n<RegOperType>" + std::to_string(operation) +
                 "</RegOperType>\r\n<IsOnlyToKey>" + std::to_string(keyOnly) +
                 "</IsOnlyToKey>\r\n<IsToDelete>1</IsToDelete>\r\n",
             "Registry");
}

}  // namespace

const std::string Win32InstallScene::kRawBytes = [] {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "\r\n\x1a end";
}();

Win32InstallScene::Win32InstallScene()
    : id_(std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())),
      marker_("TARN_PROVIDE_MARKER", dir.Path("ran.txt")),
      exitCode_("TARN_PROVIDE_EXIT", "0") {
  dir.MakeFolder("source");
  testKey = "SOFTWARE\\TarnInstallTests\\Worker" + id_;
  company = "TarnTestCo" + id_;
  project = "WineProduct" + id_;
  title = project + " 1.5";
  productKey = std::string(kProductRoot) + "\\" + company + "\\" + project;
  hadProductRoot_ = KeyExists(HKEY_LOCAL_MACHINE, kProductRoot);
  if (auto old = ReadValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion")) oldLastVersion_ = old;
  hadRecordExtension_ = KeyExists(HKEY_CLASSES_ROOT, ".UCIP");
  hadRecordType_ = KeyExists(HKEY_CLASSES_ROOT, "TarnUnInstall");
  // A newer uninstaller registered by an earlier run would make this one skip its own.
  if (oldLastVersion_) DeleteValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion");
}

Win32InstallScene::~Win32InstallScene() {
  DeleteTree(HKEY_LOCAL_MACHINE, testKey);
  DeleteIfEmpty(HKEY_LOCAL_MACHINE, "SOFTWARE\\TarnInstallTests");
  DeleteTree(HKEY_LOCAL_MACHINE,
             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + title);
  DeleteTree(HKEY_LOCAL_MACHINE, std::string(kProductRoot) + "\\" + company);
  if (oldLastVersion_) {
    WriteValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion", *oldLastVersion_);
  } else {
    DeleteValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion");
  }
  if (!hadProductRoot_) {
    DeleteIfEmpty(HKEY_LOCAL_MACHINE, kProductRoot);
    DeleteIfEmpty(HKEY_LOCAL_MACHINE, "SOFTWARE\\TarnSoft");
  }
  if (!hadRecordExtension_) DeleteTree(HKEY_CLASSES_ROOT, ".UCIP");
  if (!hadRecordType_) DeleteTree(HKEY_CLASSES_ROOT, "TarnUnInstall");
}

std::string Win32InstallScene::BuildAndLoad() {
  const std::string program = MarkerProgram();
  if (!IsFile(program)) return program + " is missing: build the sample programs first";
  dir.WriteFile("source\\TarnSetup.exe", std::string(4096, 'S'));
  dir.WriteFile("source\\lang.ini", kSceneLanguage);
  dir.WriteFile("source\\app.txt", "the application\r\n");
  dir.WriteFile("source\\raw.bin", kRawBytes);
  dir.WriteFile("source\\settings.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + testKey +
                                            "\\Imported]\r\n\"Greeting\"=\"hello, world\"\r\n");
  dir.WriteFile("source\\uninstaller.bin", "uninstaller");
  dir.WriteFile("source\\shared.bin", "shared");
  dir.WriteFile("source\\notes.txt", "notes");

  const std::string settings = "<ProjectName>" + project +
                               "</ProjectName>\r\n<ProductVersion>1.5</ProductVersion>\r\n"
                               "<CompanyDesc>" +
                               company +
                               "</CompanyDesc>\r\n<DiskSize></DiskSize>\r\n"
                               "<SoftwareSize></SoftwareSize>\r\n<FileQty></FileQty>\r\n";
  const std::string folders =
      "<Folder>[InstallDir]\\data\\deep</Folder>\r\n<Folder>[InstallDir]\\data</Folder>\r\n"
      "<Folder>[InstallDir]</Folder>\r\n<Folder>[Start Menu]\\</Folder>\r\n";
  const std::string files =
      "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n"
      "<File>[InstallDir]\\app.txt,app.txt,A,2004-1-29 13:14:15</File>\r\n"
      "<File>[InstallDir]\\data\\raw.bin,raw.bin,N,2003-12-31 23:59:58</File>\r\n"
      "<File>[InstallDir]\\data\\deep\\notes.txt,notes.txt,A</File>\r\n"
      "<File>[InstallDir]\\step.exe," +
      program +
      ",L</File>\r\n"
      "<File>[InstallDir]\\settings.txt,settings.reg,R</File>\r\n"
      "<File>[Windows Directory]\\Tarn-UnInstall.exe,uninstaller.bin,U</File>\r\n"
      "<File>[System Directory]\\shared.dll,shared.bin,A,2005-1-23 20:20:58</File>\r\n";
  const std::string shortcut =
      "<Description>App</Description>\r\n<File>app.txt</File>\r\n"
      "<Folder>[InstallDir]</Folder>\r\n<Parameter>-x \"two words\"</Parameter>\r\n"
      "<IconFile>[Windows Directory]\\Tarn-UnInstall.exe</IconFile>\r\n"
      "<IsToFileLinkGroup>1</IsToFileLinkGroup>\r\n<IsToDesktop>1</IsToDesktop>\r\n"
      "<IsToStartup>1</IsToStartup>\r\n<IsToQuickLaunch>1</IsToQuickLaunch>\r\n"
      "<IsSpecExec>0</IsSpecExec>\r\n";
  const std::string finishPageOnly =
      "<Description>Later</Description>\r\n<File>app.txt</File>\r\n"
      "<Folder>[InstallDir]</Folder>\r\n<IsToDesktop>1</IsToDesktop>\r\n"
      "<IsSpecExec>1</IsSpecExec>\r\n";
  const std::string tasks =
      Task("2404", Sub("<Description>Group " + id_ + "</Description>\r\n") +
                       Sub(shortcut, "CreateShortcutMenu") +
                       Sub(finishPageOnly, "CreateShortcutMenu")) +
      Task("2406", RegistryOperation(testKey, "Folder", "[InstallDir]\\bin -x", 0, 0, 0) +
                       RegistryOperation(testKey, "Number", "12abc", 1, 0, 0) +
                       RegistryOperation(testKey, "Bytes", "01 0A ff", 2, 0, 0) +
                       RegistryOperation(testKey, "Doomed", "soon gone", 0, 0, 0) +
                       RegistryOperation(testKey, "Doomed", "", 0, 1, 0) +
                       RegistryOperation(testKey + "\\Gone", "", "", 0, 0, 1) +
                       RegistryOperation(testKey + "\\Gone", "", "", 0, 1, 1) +
                       RegistryOperation(testKey + "\\Kept", "", "", 0, 0, 1)) +
      Task("2410", Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"
                       "<CreateUnInstall2>1</CreateUnInstall2>\r\n"));
  dir.WriteFile("source\\project.xml", ProjectDocument(settings, folders, files, tasks));

  tarnpack::BuildOptions options;
  options.stubPath = dir.Path("source\\TarnSetup.exe");
  options.projectPath = dir.Path("source\\project.xml");
  options.outputPath = dir.Path("setup\\Setup.exe");
  tarnpack::BuildResult built;
  std::string error;
  if (!tarnpack::BuildPackage(options, built, error)) return "build: " + error;
  // The older profile layout this scene keeps, whose Quick Launch folder the system made with
  // the profile; the other candidate is made below.
  dir.MakeFolder(machine.system.UserName() +
                 "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
  if (!startup::LoadPackage(session) || !startup::ExtractInstallerFiles(session))
    return "the package does not load";
  startup::ApplyStartupDefaults(session);
  session.InstallDir = InstallDir();
  // Quick Launch folders are found at loading.
  for (const auto& quickLaunch : {session.QuickLaunchDir1, session.QuickLaunchDir2}) {
    if (quickLaunch.compare(0, dir.Path().size(), dir.Path()) != 0)
      return "a Quick Launch folder outside the scratch folder: " + quickLaunch;
    dir.MakeFolder(quickLaunch.substr(dir.Path().size() + 1));
  }
  return {};
}

}  // namespace tarn::test
