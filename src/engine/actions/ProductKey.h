#pragma once
// The registry keys this system keeps for the products it installed.

#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

constexpr const char* kProductKey = "\\SOFTWARE\\TarnSoft\\TarnInstall";
// The newest uninstaller written to this machine: one value for every product, since the
// uninstaller is shared.
constexpr const char* kLastVersion = "LastVersion";

// The SHA-256 of the uninstall record, in the product-version key: the uninstaller acts only on
// the record this system wrote.
constexpr const char* kRecordHash = "RecordHash";

// The version of the uninstaller this setup program carries, and how it is written down.
constexpr double kUninstallerVersion = 5.33;
constexpr const char* kUninstallerVersionText = "5.33";

// The product's key below kProductKey: company, project name and, with `withVersion`, the
// product version, as the project's properties give them.
std::string ProductKeyPath(const SetupSession& s, bool withVersion);

}  // namespace tarn::engine
