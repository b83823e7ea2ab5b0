#include "uninstall/Removal.h"

#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/SharedFileCount.h"
#include "engine/stages/UninstallStage.h"
#include "text/ByteText.h"
#include "text/PathParts.h"
#include "uninstall/UninstallRecord.h"

namespace tarn::uninstall {

namespace {

using engine::RegistryKey;
using engine::SetupSession;
using platform::RootKey;

constexpr const char* kUninstallListKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class Remover {
 public:
  Remover(SetupSession& s, RemovalServices& services, const RemovalPlan& plan, UninstallHost& host,
          const std::string& runningProgram)
      : s_(s), services_(services), plan_(plan), host_(host), running_(runningProgram) {
    total_ = plan.components.size() + plan.shortcuts.size() + plan.files.size() +
             plan.folders.size() + plan.registry.size() + 1;
  }

  void Step() {
    ++done_;
    host_.ShowProgress(static_cast<std::int32_t>(done_ * 100 / total_));
  }

  void Components() {
    const std::string regsvr = s_.Expand("[System Directory]\\Regsvr32.exe");
    for (const auto& path : plan_.components) {
      if (s_.System.files.Exists(path)) {
        const std::string line = regsvr + " /u /s " + text::Quoted(path);
        s_.Log.Line("Component unregistered: " + line);
        s_.System.shell.RunAndWait(line, platform::kShowHidden);
      }
      Step();
    }
  }

  void Paths(const std::vector<PlannedPath>& paths) {
    for (const auto& planned : paths) {
      Step();
      if (!planned.keptBecause.empty()) {
        s_.Log.Line("File kept: " + text::Quoted(planned.path) + " (" + planned.keptBecause + ")");
        continue;
      }
      if (!s_.System.files.Exists(planned.path)) continue;
      if (planned.shared) {
        const auto release = engine::ReleaseSharedFile(s_, planned.path);
        if (release != engine::SharedFileRelease::Unused) {
          s_.Log.Line("File kept: " + text::Quoted(planned.path) +
                      (release == engine::SharedFileRelease::StillInUse
                           ? " (other products still use it)"
                           : " (a shared file this installation does not count)"));
          continue;
        }
      }
      RemoveFile(planned.path, true);
    }
  }

  // Removes a file now, or moves it aside and removes it at the restart when it is in use.
  void RemoveFile(const std::string& path, bool counts) {
    platform::FileSystem& files = s_.System.files;
    if (files.RemoveFile(path) || !files.Exists(path)) {
      s_.Log.Line("File removed: " + text::Quoted(path));
      return;
    }
    // Moved aside first, so that a new installation before the restart is not the one removed.
    std::string doomed = path;
    for (int n = 1; n < 100; ++n) {
      const std::string aside = path + ".~TarnUnInstall" + std::to_string(n) + ".del";
      if (files.RenameFile(path, aside)) {
        doomed = aside;
        break;
      }
    }
    if (services_.RemoveAtRestart(doomed)) {
      s_.Log.Line("File in use, removed at the next restart: " + text::Quoted(path));
      if (counts) afterRestart_ = true;
      deferred_ = true;
    } else {
      s_.Log.Line("File not removed: " + text::Quoted(path));
    }
  }

  void Folders(const std::vector<std::string>& folders) {
    for (const auto& folder : folders) {
      if (s_.System.files.IsDirectory(folder) && !services_.IsReparsePoint(folder)) {
        if (s_.System.files.RemoveEmptyDirectory(folder))
          s_.Log.Line("Folder removed: " + text::Quoted(folder));
        else if (deferred_ && services_.RemoveAtRestart(folder))
          s_.Log.Line("Folder removed at the next restart, when empty: " + text::Quoted(folder));
      }
      Step();
    }
  }

  void Registry() {
    for (const auto& item : plan_.registry) {
      RegistryKey key(s_.System.registry, s_.CodePage, item.root);
      if (!item.keyOnly && key.OpenPath(item.key, false)) key.RemoveValue(item.value);
      key.Close();
      RemoveEmptyKeys(item.root, item.key, 1);
      Step();
    }
  }

  // Deletes `path` and then its parents while they hold nothing, keeping the first `keep`
  // levels ("\Software") whatever they hold.
  void RemoveEmptyKeys(RootKey root, std::string path, std::size_t keep) {
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    for (;;) {
      std::size_t levels = 1;
      for (std::size_t at = 0; (at = text::FindChar(path, '\\', s_.CodePage, at)) != text::npos;
           ++at)
        ++levels;
      if (path.empty() || levels <= keep) return;
      RegistryKey key(s_.System.registry, s_.CodePage, root);
      if (!key.OpenPath("\\" + path, false)) {
        // Already gone: its parent may now be empty.
      } else {
        const auto contents = key.Contents();
        if (!contents || !contents->subKeys.empty() || contents->values != 0) return;
        key.Close();
        if (!key.DeleteKey("\\" + path)) return;
      }
      const std::size_t split = text::FindLastChar(path, '\\', s_.CodePage);
      if (split == text::npos) return;
      path.resize(split);
    }
  }

  // Deletes a key with everything below it (the product's own keys).
  void RemoveTree(RootKey root, const std::string& path) {
    RegistryKey key(s_.System.registry, s_.CodePage, root);
    if (!key.OpenPath(path, false)) return;
    const auto contents = key.Contents();
    key.Close();
    if (contents)
      for (const auto& sub : contents->subKeys) RemoveTree(root, path + "\\" + sub);
    key.DeleteKey(path);
  }

  void ProductKeys(const std::string& productTitle) {
    RemoveTree(RootKey::LocalMachine, kUninstallListKey + productTitle);
    RemoveTree(RootKey::LocalMachine, engine::ProductKeyPath(s_, true));
    RegistryKey product(s_.System.registry, s_.CodePage);
    const std::string productKey = engine::ProductKeyPath(s_, false);
    if (product.OpenPath(productKey, false)) {
      const auto contents = product.Contents();
      // The product's other versions still use its folder and version values.
      if (contents && contents->subKeys.empty()) {
        product.Close();
        RemoveTree(RootKey::LocalMachine, productKey);
      }
    }
    // The company's key goes with its last product; the system's own key stays for now.
    RemoveEmptyKeys(RootKey::LocalMachine, engine::ProductKeyPath(s_, false), 3);
  }

  void SharedUninstaller() {
    const std::string uninstaller =
        !plan_.uninstaller.empty()
            ? plan_.uninstaller
            : s_.Expand(std::string("[Windows Directory]\\") + engine::kUninstallerName);
    const std::string classes = std::string("\\") + engine::kRecordType;
    RemoveTree(RootKey::ClassesRoot, std::string("\\") + engine::kRecordExtension);
    RemoveTree(RootKey::ClassesRoot, classes);
    RegistryKey product(s_.System.registry, s_.CodePage);
    if (product.OpenPath(engine::kProductKey, false)) product.RemoveValue(engine::kLastVersion);
    product.Close();
    RemoveEmptyKeys(RootKey::LocalMachine, engine::kProductKey, 1);

    const std::string texts = s_.Expand("[System Directory]\\TarnInstall");
    if (const auto found = s_.System.files.Enumerate(texts + "\\*.ini")) {
      for (const auto& entry : *found)
        if (!entry.isDirectory) RemoveFile(texts + "\\" + entry.name, true);
    }
    if (s_.System.files.RemoveEmptyDirectory(texts))
      s_.Log.Line("Folder removed: " + text::Quoted(texts));
    if (s_.System.files.Exists(uninstaller))
      RemoveFile(uninstaller, !text::EqualsIgnoreAsciiCase(uninstaller, running_));
  }

  bool afterRestart_ = false;

 private:
  SetupSession& s_;
  RemovalServices& services_;
  const RemovalPlan& plan_;
  UninstallHost& host_;
  std::string running_;
  std::size_t total_ = 1;
  std::size_t done_ = 0;
  bool deferred_ = false;
};

}  // namespace

bool OtherProductsRegistered(SetupSession& s) {
  RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(engine::kProductKey, false)) return false;
  const auto contents = key.Contents();
  return !contents || !contents->subKeys.empty();
}

RemovalEnd CarryOut(SetupSession& s, RemovalServices& services, const RemovalPlan& plan,
                    const UninstallTexts& texts, UninstallHost& host,
                    const std::string& runningProgram) {
  // A folder that is a process's current folder cannot be removed: opened from its record in
  // the installation folder, the uninstaller would otherwise keep that folder itself.
  s.System.files.ChangeCurrentDirectory(s.Expand("[Windows Directory]"));
  Remover remover(s, services, plan, host, runningProgram);
  host.ShowStatus(texts.Get("RemoveFileDesc"));
  remover.Components();
  remover.Paths(plan.shortcuts);
  remover.Paths(plan.files);
  host.ShowStatus(texts.Get("RemoveFolderDesc"));
  remover.Folders(plan.folders);
  host.ShowStatus(texts.Get("RemoveRegistryDesc"));
  remover.Registry();
  remover.ProductKeys(ProductTitle(s));
  if (!OtherProductsRegistered(s)) remover.SharedUninstaller();
  remover.Step();
  host.ShowStatus(texts.Get("UnInstallComplete"));
  return remover.afterRestart_ ? RemovalEnd::AfterRestart : RemovalEnd::Complete;
}

}  // namespace tarn::uninstall
