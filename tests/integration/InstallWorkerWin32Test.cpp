// The install worker against the real Win32 platform under Wine: a package made by the package
// builder is installed into a scratch folder with the real file system, registry and shell,
// and every outcome is read back through the system's own calls.
#ifdef _WIN32

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/InstallWorker.h"
#include "engine/actions/Cleanup.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFacts.h"
#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/InstallScene.h"
#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedInstallHost.h"
#include "tarnpack/PackageBuilder.h"
#include "text/ByteText.h"

namespace tarn::engine {
namespace {

using platform::ComPtr;
using platform::KernelHandle;
using test::Sub;
using test::Task;

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kProductRoot[] = "SOFTWARE\\TarnSoft\\TarnInstall";

// The real system facts, with the folders and the program's own path moved into the scratch
// folder so that nothing lands in the prefix's Windows folder. Pauses only add up.
class ScratchSystemFacts : public platform::Win32SystemFacts {
 public:
  explicit ScratchSystemFacts(const test::ScratchFolder& dir) : dir_(dir) {}
  std::string WindowsDirectory() override { return dir_.Path("WINDOWS"); }
  std::string SystemDirectory() override { return dir_.Path("WINDOWS\\system32"); }
  std::string TempPath() override { return dir_.Path("temp") + "\\"; }
  std::optional<std::string> DesktopDirectory() override { return dir_.Path("Desktop"); }
  std::optional<std::string> UserAppDataDirectory() override { return dir_.Path("AppData"); }
  std::string ModulePath() override { return dir_.Path("setup\\Setup.exe"); }
  void Pause(std::uint32_t milliseconds) override { paused += milliseconds; }
  std::uint64_t paused = 0;

 private:
  const test::ScratchFolder& dir_;
};

// The real registry, except that three shell folder values read as scratch folders: the start
// menu and the common application data (from which the Quick Launch folders derive) would
// otherwise be the prefix's own.
class ShellFolderOverlay : public platform::Registry {
 public:
  struct Override {
    std::string name;
    std::string value;
  };

  explicit ShellFolderOverlay(std::vector<Override> overrides) : overrides_(std::move(overrides)) {}

  std::unique_ptr<platform::RegistryKeyHandle> Root(platform::RootKey root) override {
    auto inner = real_.Root(root);
    if (!inner) return nullptr;
    // Only keys below HKEY_LOCAL_MACHINE can be the shell folders key.
    return std::make_unique<Key>(std::move(inner),
                                 root == platform::RootKey::LocalMachine ? "" : "\x01", overrides_);
  }

 private:
  class Key : public platform::RegistryKeyHandle {
   public:
    Key(std::unique_ptr<platform::RegistryKeyHandle> inner, std::string path,
        const std::vector<Override>& overrides)
        : inner_(std::move(inner)), path_(std::move(path)), overrides_(overrides) {}

    std::unique_ptr<platform::RegistryKeyHandle> OpenSubKey(
        const std::string& path, platform::RegistryAccess access) override {
      return Wrap(inner_->OpenSubKey(path, access), path);
    }
    std::unique_ptr<platform::RegistryKeyHandle> CreateSubKey(const std::string& path) override {
      return Wrap(inner_->CreateSubKey(path), path);
    }
    bool DeleteSubKey(const std::string& name) override { return inner_->DeleteSubKey(name); }
    bool DeleteValue(const std::string& name) override { return inner_->DeleteValue(name); }
    std::optional<platform::KeyContents> Contents() override { return inner_->Contents(); }
    std::optional<platform::RegistryValue> QueryValue(const std::string& name) override {
      if (text::EqualsIgnoreAsciiCase(path_, kShellFolders)) {
        for (const auto& o : overrides_) {
          if (text::EqualsIgnoreAsciiCase(name, o.name))
            return platform::RegistryValue{platform::RegistryValueType::String, o.value + '\0'};
        }
      }
      return inner_->QueryValue(name);
    }
    bool SetValue(const std::string& name, platform::RegistryValueType type,
                  const std::string& data) override {
      return inner_->SetValue(name, type, data);
    }

   private:
    std::unique_ptr<platform::RegistryKeyHandle> Wrap(
        std::unique_ptr<platform::RegistryKeyHandle> key, std::string sub) {
      if (!key) return nullptr;
      while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
      while (!sub.empty() && sub.back() == '\\') sub.pop_back();
      const std::string path = sub.empty() ? path_ : path_.empty() ? sub : path_ + "\\" + sub;
      return std::make_unique<Key>(std::move(key), path, overrides_);
    }

    std::unique_ptr<platform::RegistryKeyHandle> inner_;
    std::string path_;
    const std::vector<Override>& overrides_;
  };

  platform::Win32Registry real_;
  std::vector<Override> overrides_;
};

// A registry key opened for reading, closed when it goes.
class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path) {
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct RawValue {
  DWORD type = 0;
  std::string data;
  bool operator==(const RawValue& o) const { return type == o.type && data == o.data; }
};

std::ostream& operator<<(std::ostream& out, const RawValue& v) {
  return out << "type " << v.type << " [" << v.data << "]";
}

std::optional<RawValue> ReadValue(HKEY root, const std::string& path, const std::string& name) {
  OpenKey key(root, path);
  if (!key) return std::nullopt;
  RawValue value;
  std::vector<char> data(4096);
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.assign(data.data(), size);
  return value;
}

RawValue Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

bool KeyExists(HKEY root, const std::string& path) {
  return static_cast<bool>(OpenKey(root, path));
}

// Deletes a key with everything below it; "no such key" counts as done.
void DeleteTree(HKEY root, const std::string& path) {
  {
    OpenKey key(root, path);
    if (!key) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      children.emplace_back(name, size);
    }
    for (const auto& child : children) DeleteTree(root, path + "\\" + child);
  }
  RegDeleteKeyA(root, path.c_str());
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

// Deletes a key only when nothing is left below it.
void DeleteIfEmpty(HKEY root, const std::string& path) {
  OpenKey key(root, path);
  if (!key) return;
  DWORD subKeys = 0, values = 0;
  if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
      subKeys == 0 && values == 0)
    RegDeleteKeyA(root, path.c_str());
}

std::string ReadFileBytes(const std::string& path) {
  KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.valid()) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The last-write time of a file as local "Y-M-D h:m:s".
std::string LocalWriteTime(const std::string& path) {
  KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME created, accessed, written, local;
  SYSTEMTIME t;
  if (!file.valid() || !GetFileTime(file.get(), &created, &accessed, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
    return "<none>";
  return std::to_string(t.wYear) + "-" + std::to_string(t.wMonth) + "-" + std::to_string(t.wDay) +
         " " + std::to_string(t.wHour) + ":" + std::to_string(t.wMinute) + ":" +
         std::to_string(t.wSecond);
}

struct LinkFields {
  std::string path, arguments, workingFolder, description, iconFile;
  int iconIndex = -1;
  bool operator==(const LinkFields& o) const {
    return path == o.path && arguments == o.arguments && workingFolder == o.workingFolder &&
           description == o.description && iconFile == o.iconFile && iconIndex == o.iconIndex;
  }
};

std::ostream& operator<<(std::ostream& out, const LinkFields& l) {
  return out << "{path " << l.path << ", args " << l.arguments << ", dir " << l.workingFolder
             << ", desc " << l.description << ", icon " << l.iconFile << "," << l.iconIndex << "}";
}

// A shell link file read back through IShellLinkA; nothing when it cannot be loaded.
std::optional<LinkFields> ReadLink(const std::string& path) {
  if (!IsFile(path)) return std::nullopt;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.out())))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.out()))) return std::nullopt;
  std::wstring wide(path.size() + 1, L'\0');
  const int count =
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (count <= 0 || FAILED(file->Load(wide.c_str(), STGM_READ))) return std::nullopt;
  LinkFields fields;
  char buffer[MAX_PATH * 2] = {};
  if (SUCCEEDED(link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH))) fields.path = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetArguments(buffer, sizeof buffer))) fields.arguments = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, sizeof buffer))) fields.workingFolder = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetDescription(buffer, sizeof buffer))) fields.description = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetIconLocation(buffer, sizeof buffer, &fields.iconIndex)))
    fields.iconFile = buffer;
  return fields;
}

// An environment variable of this process, set for the length of a test (inherited by the
// programs the worker starts) and put back afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    char old[1024];
    const DWORD length = GetEnvironmentVariableA(name_.c_str(), old, sizeof old);
    if (length > 0 && length < sizeof old) old_ = std::string(old, length);
    SetEnvironmentVariableA(name_.c_str(), value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

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

// One installation in the prefix: its scratch machine, its unique registry names and the
// undoing of every registry change when it ends.
class WineInstall {
 public:
  WineInstall()
      : id_(std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())),
        marker_("TARN_PROVIDE_MARKER", dir.Path("ran.txt")),
        exitCode_("TARN_PROVIDE_EXIT", "0") {
    for (const char* folder : {"temp", "setup", "source", "WINDOWS\\system32", "Desktop", "AppData",
                               "Start Menu\\Programs\\StartUp", "All Users\\Application Data"})
      dir.MakeFolder(folder);
    testKey = "SOFTWARE\\TarnInstallTests\\Worker" + id_;
    company = "TarnTestCo" + id_;
    project = "WineProduct" + id_;
    title = project + " 1.5";
    productKey = std::string(kProductRoot) + "\\" + company + "\\" + project;
    hadProductRoot_ = KeyExists(HKEY_LOCAL_MACHINE, kProductRoot);
    if (auto old = ReadValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion"))
      oldLastVersion_ = old;
    hadRecordExtension_ = KeyExists(HKEY_CLASSES_ROOT, ".UCIP");
    hadRecordType_ = KeyExists(HKEY_CLASSES_ROOT, "TarnUnInstall");
    // A newer uninstaller registered by an earlier run would make this one skip its own.
    if (oldLastVersion_) DeleteValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion");
  }

  ~WineInstall() {
    DeleteTree(HKEY_LOCAL_MACHINE, testKey);
    DeleteIfEmpty(HKEY_LOCAL_MACHINE, "SOFTWARE\\TarnInstallTests");
    DeleteTree(HKEY_LOCAL_MACHINE,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + title);
    DeleteTree(HKEY_LOCAL_MACHINE, std::string(kProductRoot) + "\\" + company);
    if (oldLastVersion_) {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductRoot, 0, KEY_SET_VALUE, &key) ==
          ERROR_SUCCESS) {
        RegSetValueExA(key, "LastVersion", 0, oldLastVersion_->type,
                       reinterpret_cast<const BYTE*>(oldLastVersion_->data.data()),
                       static_cast<DWORD>(oldLastVersion_->data.size()));
        RegCloseKey(key);
      }
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
  WineInstall(const WineInstall&) = delete;
  WineInstall& operator=(const WineInstall&) = delete;

  // Writes the author's project and its source files, builds the package with the builder and
  // loads it as start-up does. Empty on success, else what went wrong.
  std::string BuildAndLoad() {
    const std::string program = MarkerProgram();
    if (!IsFile(program)) return program + " is missing: build the sample programs first";
    dir.WriteFile("source\\TarnSetup.exe", std::string(4096, 'S'));
    dir.WriteFile("source\\lang.ini", test::kSceneLanguage);
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
    dir.WriteFile("source\\project.xml", test::ProjectDocument(settings, folders, files, tasks));

    tarnpack::BuildOptions options;
    options.stubPath = dir.Path("source\\TarnSetup.exe");
    options.projectPath = dir.Path("source\\project.xml");
    options.outputPath = dir.Path("setup\\Setup.exe");
    tarnpack::BuildResult built;
    std::string error;
    if (!tarnpack::BuildPackage(options, built, error)) return "build: " + error;
    if (!startup::LoadPackage(session) || !startup::ExtractInstallerFiles(session))
      return "the package does not load";
    startup::ApplyStartupDefaults(session);
    session.InstallDir = InstallDir();
    // Quick Launch folders are found at loading; the system creates them with the profile.
    for (const auto& quickLaunch : {session.QuickLaunchDir1, session.QuickLaunchDir2}) {
      if (quickLaunch.compare(0, dir.Path().size(), dir.Path()) != 0)
        return "a Quick Launch folder outside the scratch folder: " + quickLaunch;
      dir.MakeFolder(quickLaunch.substr(dir.Path().size() + 1));
    }
    return {};
  }

  std::string Path(const std::string& relative) const { return dir.Path(relative); }
  std::string InstallDir() const { return dir.Path("Program Files\\App"); }
  std::string Installed(const std::string& relative) const {
    return InstallDir() + "\\" + relative;
  }
  std::string Group() const { return dir.Path("Start Menu\\Programs\\Group " + id_); }

  static const std::string kRawBytes;

  test::ScratchFolder dir;
  std::string testKey, company, project, title, productKey;

 private:
  std::string id_;
  bool hadProductRoot_ = false;
  bool hadRecordExtension_ = false;
  bool hadRecordType_ = false;
  std::optional<RawValue> oldLastVersion_;
  ScopedEnvironment marker_;
  ScopedEnvironment exitCode_;

 public:
  platform::Win32Shell shell;
  // COM for the test thread, which reads links back.
  const std::unique_ptr<platform::ThreadScope> com = shell.EnterThread();
  platform::Win32FileSystem files;
  ShellFolderOverlay registry{{{"Common Programs", dir.Path("Start Menu\\Programs")},
                               {"Common Startup", dir.Path("Start Menu\\Programs\\StartUp")},
                               {"Common AppData", dir.Path("All Users\\Application Data")}}};
  ScratchSystemFacts system{dir};
  test::ScriptedInstallHost host;
  SetupSession session{Platform{files, registry, system, shell}};
};

const std::string WineInstall::kRawBytes = [] {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "\r\n\x1a end";
}();

TEST(InstallWorkerWin32, ACompleteInstallationLandsInTheSystem) {
  WineInstall t;
  const std::string problem = t.BuildAndLoad();
  ASSERT_EQ(problem, "");
  const std::string installDir = t.InstallDir();
  const std::string windows = t.Path("WINDOWS");
  const std::string uninstaller = windows + "\\Tarn-UnInstall.exe";
  const std::string projectCopy = ReadFileBytes(t.session.ProjectCopyPath);

  ASSERT_EQ(RunInstallWorker(t.session, t.host), 0);
  ASSERT_TRUE(t.host.end.has_value());
  EXPECT_EQ(*t.host.end, InstallEnd::Completed);
  EXPECT_TRUE(t.host.questions.empty());
  EXPECT_EQ(t.host.progress, (std::vector<std::int32_t>{14, 28, 42, 57, 71, 85, 100}));

  // Files with their contents and local time stamps; folders.
  EXPECT_EQ(ReadFileBytes(t.Installed("app.txt")), "the application\r\n");
  EXPECT_EQ(LocalWriteTime(t.Installed("app.txt")), "2004-1-29 13:14:15");
  EXPECT_EQ(ReadFileBytes(t.Installed("data\\raw.bin")), WineInstall::kRawBytes);
  EXPECT_EQ(LocalWriteTime(t.Installed("data\\raw.bin")), "2003-12-31 23:59:58");
  EXPECT_EQ(ReadFileBytes(t.Installed("data\\deep\\notes.txt")), "notes");
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\system32\\shared.dll")), "shared");
  EXPECT_EQ(LocalWriteTime(t.Path("WINDOWS\\system32\\shared.dll")), "2005-1-23 20:20:58");
  EXPECT_TRUE(IsFolder(t.Installed("data\\deep")));
  EXPECT_TRUE(IsFolder(t.Group()));

  // The kind-L program ran from where it was written, and is gone; so is the registry file.
  EXPECT_EQ(ReadFileBytes(t.Path("ran.txt")),
            "ran exit=0 path=" + t.Installed("step.exe") + "\r\n");
  EXPECT_FALSE(IsFile(t.Installed("step.exe")));
  EXPECT_FALSE(IsFile(t.Installed("settings.txt")));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey + "\\Imported", "Greeting"),
            Sz("hello, world"));

  // The uninstaller, its language file and version.
  EXPECT_EQ(ReadFileBytes(uninstaller), "uninstaller");
  const std::string saved = ReadFileBytes(t.Path("WINDOWS\\system32\\TarnInstall\\409.ini"));
  EXPECT_EQ(saved.rfind("InstallProcessDesc2=Preparing\r\nCreateFolderDesc=Folders\r\n", 0), 0u)
      << saved;
  EXPECT_NE(saved.find("\r\nProjectName=" + t.title + "\r\n"), std::string::npos) << saved;
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion"), Sz("5.33"));

  // Registry operations of every type, and the deletions.
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Folder"), Sz(installDir + "\\bin -x"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Number"),
            (RawValue{REG_DWORD, std::string("\x0c\0\0\0", 4)}));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Bytes"),
            (RawValue{REG_BINARY, std::string("\x01\x0a\xff", 3)}));
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Doomed"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, t.testKey + "\\Gone"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, t.testKey + "\\Kept"));

  // Shortcuts, read back through the shell.
  const LinkFields app{
      t.Installed("app.txt"), "-x \"two words\"", installDir, "App", uninstaller, 0};
  const std::string quickLaunch1 = t.session.QuickLaunchDir1,
                    quickLaunch2 = t.session.QuickLaunchDir2;
  EXPECT_NE(quickLaunch1, quickLaunch2);
  for (const std::string& link : {t.Group() + "\\App.Lnk", t.Path("Desktop\\App.Lnk"),
                                  t.Path("Start Menu\\Programs\\StartUp\\App.Lnk"),
                                  quickLaunch1 + "App.Lnk", quickLaunch2 + "App.Lnk"}) {
    EXPECT_EQ(ReadLink(link), app) << link;
  }
  EXPECT_FALSE(IsFile(t.Path("Desktop\\Later.Lnk")));
  const std::string record = installDir + "\\TarnUninstall " + t.title + ".UCIP";
  const std::string removeLink = t.Group() + "\\Remove " + t.title + ".Lnk";
  EXPECT_EQ(ReadLink(removeLink),
            (LinkFields{uninstaller, record, windows, "Remove " + t.title, "", 0}));

  // Uninstall registration: the record, the system's list, the record type, the product keys.
  EXPECT_NE(projectCopy.find("<File>[InstallDir]\\app.txt,"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(record), projectCopy);
  const std::string uninstallKey =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + t.title;
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"), Sz(t.title));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"),
            Sz(uninstaller + " " + record));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, ".UCIP", ""), Sz("TarnUnInstall"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall", ""), Sz("Uninstall File"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\DefaultIcon", ""), Sz(uninstaller + ",0"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\Shell\\Open", ""), Sz(""));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\Shell\\Open\\Command", ""),
            (RawValue{REG_EXPAND_SZ, "\"" + uninstaller + "\" %1" + '\0'}));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5", "ProgramFolder"), Sz(t.Group()));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5", "UnInstallFileLink"),
            Sz(t.Group() + "\\Remove " + t.title + ".lnk"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey, "Path"), Sz(installDir));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey, "Version"), Sz("1.5"));

  // Closing after a completed installation removes the temporary files only.
  RunCleanup(t.session);
  EXPECT_FALSE(IsFile(t.session.ProjectCopyPath));
  EXPECT_FALSE(IsFile(t.session.LanguageFilePath));
  EXPECT_TRUE(IsFile(t.Installed("app.txt")));
  EXPECT_TRUE(IsFile(record));
}

TEST(InstallWorkerWin32, AnAbandonedInstallationIsRolledBack) {
  WineInstall t;
  const std::string problem = t.BuildAndLoad();
  ASSERT_EQ(problem, "");
  t.host.abortAnswers = {true};
  t.host.onStatus = [&t](const std::string& text) {
    if (text == "Shortcuts") t.session.CancelRequested = true;
  };
  ASSERT_EQ(RunInstallWorker(t.session, t.host), -1);
  ASSERT_EQ(t.host.questions.size(), 1u);
  EXPECT_EQ(t.host.questions[0].kind, "abort");
  EXPECT_EQ(*t.host.end, InstallEnd::Abandoned);
  // The first shortcut subtask was done before the question; no registration after it.
  ASSERT_TRUE(IsFile(t.Path("Desktop\\App.Lnk")));
  ASSERT_TRUE(IsFile(t.Installed("app.txt")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + t.title));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5"));
  EXPECT_FALSE(IsFile(t.Installed("TarnUninstall " + t.title + ".UCIP")));

  RunCleanup(t.session);
  for (const std::string& gone :
       {t.Installed("app.txt"), t.Installed("data\\raw.bin"), t.Installed("data\\deep\\notes.txt"),
        t.Group() + "\\App.Lnk", t.Path("Desktop\\App.Lnk"),
        t.Path("Start Menu\\Programs\\StartUp\\App.Lnk"), t.session.QuickLaunchDir1 + "App.Lnk",
        t.session.QuickLaunchDir2 + "App.Lnk", t.session.ProjectCopyPath}) {
    EXPECT_FALSE(IsFile(gone)) << gone;
  }
  // Created folders go once empty, children before parents as listed.
  for (const std::string& gone :
       {t.Installed("data\\deep"), t.Installed("data"), t.InstallDir(), t.Group()})
    EXPECT_FALSE(IsFolder(gone)) << gone;
  // Files under the Windows folder stay: other programs may already rely on them.
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\Tarn-UnInstall.exe")), "uninstaller");
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\system32\\shared.dll")), "shared");
  EXPECT_TRUE(IsFolder(t.Path("Start Menu\\Programs\\StartUp")));
}

}  // namespace
}  // namespace tarn::engine

#endif  // _WIN32
