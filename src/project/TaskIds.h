#pragma once
// The task IDs the program reads by name, in one place. Values are the IDs documents carry.

#include <string_view>

namespace tarn::project::task {

inline constexpr std::string_view Properties = "2401";
inline constexpr std::string_view WelcomePage = "2002";
inline constexpr std::string_view LicencePage = "2003";
inline constexpr std::string_view ReadmePage = "2004";
inline constexpr std::string_view UserInfoPage = "2005";
inline constexpr std::string_view ProgramFolderPage = "2006";
inline constexpr std::string_view InstallPathPage = "2007";
inline constexpr std::string_view ProgressPage = "2008";
inline constexpr std::string_view FinishPage = "2009";
inline constexpr std::string_view FinishProgramsPage = "2010";
inline constexpr std::string_view FolderBindings = "2402";
inline constexpr std::string_view Shortcuts = "2404";
inline constexpr std::string_view Components = "2405";
inline constexpr std::string_view RegistryOperations = "2406";
inline constexpr std::string_view Fonts = "2407";
inline constexpr std::string_view Leftovers = "2409";
inline constexpr std::string_view UninstallOptions = "2410";
inline constexpr std::string_view Extraction = "2412";
inline constexpr std::string_view KeepFiles = "2413";

}  // namespace tarn::project::task
