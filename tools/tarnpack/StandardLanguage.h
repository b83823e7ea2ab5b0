#pragma once
// The standard language file: the English, Simplified Chinese (GB2312) and Traditional Chinese
// (Big5) texts of every key the setup program and the uninstaller ask for. Built into tarnpack
// from StandardLanguage.ini beside this header.

#include <string>

namespace tarnpack {

std::string StandardLanguageFile();

}  // namespace tarnpack
