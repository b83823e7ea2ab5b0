#pragma once
// The font stage: fonts the file stage wrote are loaded now and registered for later sessions.

#include <string>

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

constexpr const char* kFontsKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// The name a font is registered under: its file name without extension, with " (TrueType)"
// for TrueType and OpenType files.
std::string FontRegistryName(const std::string& fontPath, std::uint32_t codePage);

void RunFontStage(InstallRun& run);

}  // namespace tarn::engine
