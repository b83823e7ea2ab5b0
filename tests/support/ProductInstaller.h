#pragma once
// Several products installed on one scene's machine, each by a setup run of its own (as the
// real setup program does it: load, defaults, worker), and removed again by the uninstaller.

#include <string>
#include <vector>

#include "support/FakeRemoval.h"
#include "support/InstallScene.h"
#include "uninstall/UninstallHost.h"

namespace tarn::test {

struct Product {
  std::string name;
  std::string version;
  std::string folder;  // the installation folder, relative to the scene's folder
  std::vector<PackageStream> streams;
  std::string tasks;  // further task blocks
};

// The worker's result, or 99 when the package did not load.
int InstallProduct(InstallScene& scene, const Product& product);

// "<scene folder>\<folder>\TarnUninstall <name> <version>.UCIP"
std::string RecordOf(InstallScene& scene, const Product& product);

class RecordingUninstallHost : public uninstall::UninstallHost {
 public:
  std::vector<std::string> statuses;
  std::vector<std::int32_t> progress;
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void ShowProgress(std::int32_t percent) override { progress.push_back(percent); }
};

// Every file and folder below the scene's folder, and every key of the registry with its
// number of values, one line each, sorted.
std::vector<std::string> Snapshot(InstallScene& scene);

}  // namespace tarn::test
