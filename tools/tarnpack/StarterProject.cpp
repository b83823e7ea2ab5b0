#include "tarnpack/StarterProject.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tarnpack/HostFolders.h"
#include "tarnpack/StandardLanguage.h"
#include "text/ByteText.h"

namespace tarnpack {

namespace {

namespace fs = std::filesystem;
using tarn::text::AsciiUpper;

std::string Field(const std::string& name, const std::string& value) {
  return "<" + name + ">" + value + "</" + name + ">";
}

std::string StemOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : AsciiUpper(name.substr(dot));
}

std::string WithoutBlanks(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return AsciiUpper(s);
}

struct Found {
  std::string relative;  // backslashes
  std::uintmax_t size = 0;
};

void CollectPrograms(const std::string& host, const std::string& relative,
                     std::vector<Found>& out) {
  const auto items = ListFolder(host);
  if (!items) return;
  for (const auto& item : *items) {
    const std::string rel = relative.empty() ? item.name : relative + "\\" + item.name;
    if (item.folder) {
      CollectPrograms(host + "/" + item.name, rel, out);
    } else if (ExtensionOf(item.name) == ".EXE") {
      std::error_code ec;
      const auto size = fs::file_size(host + "/" + item.name, ec);
      out.push_back({rel, ec ? 0 : size});
    }
  }
}

// The program named like the product; else the only, or the largest, program at the top;
// else the first one below it.
std::string MainProgram(const std::string& folder, const std::string& name) {
  std::vector<Found> programs;
  CollectPrograms(folder, "", programs);
  for (const auto& p : programs) {
    if (p.relative.find('\\') == std::string::npos &&
        WithoutBlanks(StemOf(p.relative)) == WithoutBlanks(name))
      return p.relative;
  }
  const Found* best = nullptr;
  for (const auto& p : programs) {
    if (p.relative.find('\\') == std::string::npos && (!best || p.size > best->size)) best = &p;
  }
  if (best) return best->relative;
  return programs.empty() ? "" : programs.front().relative;
}

std::string Licence(const std::string& folder) {
  const auto items = ListFolder(folder);
  if (!items) return "";
  for (const auto& item : *items) {
    const std::string stem = AsciiUpper(StemOf(item.name)), ext = ExtensionOf(item.name);
    if (!item.folder &&
        (stem == "LICENCE" || stem == "LICENSE" || stem == "EULA" || stem == "COPYING") &&
        (ext.empty() || ext == ".TXT" || ext == ".HTM" || ext == ".HTML"))
      return item.name;
  }
  return "";
}

std::string WithBackslashes(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// A name used in paths and on every page: no characters a Windows file name cannot hold, none
// that would break a project line.
bool UsableName(const std::string& text) {
  return !text.empty() && text.find_first_of("\\/:*?\"<>|,[]") == std::string::npos &&
         std::none_of(text.begin(), text.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; }) &&
         text.front() != ' ' && text.back() != ' ' && text.back() != '.';
}

bool UsableText(const std::string& text) {
  return text.find_first_of("<\r\n") == std::string::npos;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

std::string StarterProjectText(const StarterOptions& o, const StarterFacts& f) {
  std::string programFolder = "[InstallDir]", programName = f.mainProgram;
  if (const std::size_t slash = f.mainProgram.rfind('\\'); slash != std::string::npos) {
    programFolder += "\\" + f.mainProgram.substr(0, slash);
    programName = f.mainProgram.substr(slash + 1);
  }
  const std::string program =
      f.mainProgram.empty() ? std::string() : "[InstallDir]\\" + f.mainProgram;
  const auto task = [](const char* id, const char* type, bool exec) {
    return std::string("<Task ID=\"") + id + "\" Type=\"" + type + "\" IsExec=\"" +
           (exec ? "1" : "0") + "\">";
  };
  const auto subTask = [](const char* id, const char* type) {
    return std::string("<SubTask ID=\"") + id + "\" Type=\"" + type + "\">";
  };
  const auto page = [&](const char* id, bool exec) {
    return std::vector<std::string>{task(id, "ShowDialogBox", exec), subTask("10001", "Options"),
                                    Field("IsShow", exec ? "1" : "0"), "</SubTask>", "</Task>"};
  };
  const auto empty = [&](const char* id) {
    return std::vector<std::string>{task(id, "DataSetting", false), subTask("10001", "GetValue"),
                                    "</SubTask>", "</Task>"};
  };
  std::vector<std::string> l = {
      "<?xml version=\"1.0\" encoding=\"GB2312\"?>",
      "<InstallProject>",
      "<Version>TarnInstall5.0</Version>",
      task("2401", "DataSetting", false),
      subTask("10001", "GetAllVar"),
      Field("ProjectName", o.name),
      Field("InstallPath", "[Program Files]\\" + o.name),
      Field("CompanyDesc", o.company),
      Field("ProductVersion", o.version),
      Field("DiskSize", ""),
      Field("AdPicture", ""),
      Field("TopFramePicture", ""),
      Field("OutPutPath", ""),
      Field("ProvideForInstall", ""),
      Field("AppFileIcon", program),
      Field("Language", "English,Chinese (Simplified),Chinese (Traditional)"),
      Field("SoftwareSize", ""),
      Field("FileQty", ""),
      "</SubTask>",
      "</Task>",
  };
  const auto add = [&l](const std::vector<std::string>& more) {
    l.insert(l.end(), more.begin(), more.end());
  };
  add(page("2002", true));
  if (f.licence.empty()) {
    add(page("2003", false));
  } else {
    add({task("2003", "ShowDialogBox", true), subTask("10001", "ShowSoftDoc"),
         Field("FileType", "HTM"), Field("File", "[TempFileDir]\\~TarnInstall-SoftDoc.HTM"),
         "</SubTask>", subTask("10002", "Options"), Field("IsShow", "1"), "</SubTask>", "</Task>"});
  }
  add(page("2004", false));
  add(page("2005", false));
  add(page("2006", false));
  add(page("2007", true));
  add(page("2008", true));
  add(page("2009", false));
  add({task("2010", "ShowDialogBox", true)});
  if (!program.empty())
    add({subTask("10001", "RunApp"), Field("Description", "Start " + o.name + " now"),
         Field("File", programName), Field("Folder", programFolder), Field("AppParameter", ""),
         "</SubTask>"});
  add({"</Task>"});
  add({task("2402", "DataSetting", false), subTask("10001", "GetAllVar"),
       Field("PathDesc", "[InstallDir]"), Field("PathValue", "C:\\Program Files\\" + o.name),
       Field("PathDesc", "[Program Files]"), Field("PathValue", "C:\\Program Files"),
       Field("PathDesc", "[Windows Directory]"), Field("PathValue", "C:\\WINDOWS"),
       Field("PathDesc", "[System Directory]"), Field("PathValue", "C:\\WINDOWS\\system32"),
       Field("PathDesc", "[TempFileDir]"), Field("PathValue", "C:\\TEMP"), "</SubTask>",
       "</Task>"});
  add({task("2403", "DataSetting", false), subTask("10001", "GetValue"), Field("ComList", ""),
       "</SubTask>", "</Task>"});
  add({task("2404", "DataSetting", false), subTask("10001", "GetValue"),
       Field("Description", o.name), "</SubTask>"});
  if (!program.empty())
    add({subTask("10002", "CreateShortcutMenu"), Field("Description", o.name),
         Field("File", programName), Field("Folder", programFolder), Field("Parameter", ""),
         Field("IconFile", program), Field("IsToFileLinkGroup", "1"), Field("IsToDesktop", "0"),
         Field("IsToStartup", "0"), Field("IsToQuickLaunch", "0"), Field("IsSpecExec", "0"),
         Field("SpecExecDesc", ""), "</SubTask>"});
  add({"</Task>"});
  add(empty("2405"));
  add(empty("2409"));
  add(empty("2406"));
  add({task("2410", "DataSetting", false), subTask("10001", "GetValue"),
       Field("CreateUnInstall1", "1"), Field("CreateUnInstall2", "1"), Field("UnInstallEx", ""),
       "</SubTask>", "</Task>"});
  add(empty("2407"));
  add(empty("2408"));
  add({task("2411", "DataSetting", false), subTask("10001", "GetValue"), Field("IconFile", program),
       "</SubTask>", "</Task>"});
  add(empty("2413"));
  add({task("2412", "ExtractFiles", false), subTask("10001", "FolderList"),
       Field("Folder", "[InstallDir]"), "</SubTask>", subTask("10002", "FileList"),
       Field("File", "[TempFileDir]\\~TarnInstall-Language.ini,Language.ini,K")});
  if (!f.licence.empty())
    add({Field("File",
               "[TempFileDir]\\~TarnInstall-SoftDoc.HTM," + f.source + "\\" + f.licence + ",K")});
  add({Field("File", "[InstallDir]," + f.source + ",A"), "</SubTask>", "</Task>",
       "</InstallProject>"});
  std::string text;
  for (const auto& line : l) text += line + "\r\n";
  return text;
}

bool WriteStarterProject(const StarterOptions& o, std::vector<std::string>& notes,
                         std::string& error) {
  if (!UsableName(o.name))
    return error = "the name must be a usable folder name (no \\ / : * ? \" < > | , [ ])", false;
  if (o.version.empty() || !UsableText(o.version) || o.version.find(',') != std::string::npos)
    return error = "the version must be a short text such as 1.0", false;
  if (!UsableText(o.company))
    return error = "the company cannot contain \"<\" or a line break", false;
  if (!IsFolder(o.folder)) return error = o.folder + " is not a folder", false;

  std::error_code ec;
  const fs::path project = fs::absolute(o.projectPath, ec);
  const fs::path projectFolder = project.parent_path();
  const fs::path folder = fs::weakly_canonical(fs::absolute(o.folder, ec), ec);
  const fs::path inside = fs::weakly_canonical(projectFolder, ec).lexically_relative(folder);
  if (!inside.empty() && *inside.begin() != "..")
    return error = "write the project outside the product's folder, or it would pack itself", false;
  if (fs::exists(project, ec))
    return error = o.projectPath + " exists already; remove it or name another with -o", false;

  StarterFacts facts;
  fs::path relative = folder.lexically_relative(fs::weakly_canonical(projectFolder, ec));
  facts.source = WithBackslashes((relative.empty() ? folder : relative).generic_string());
  facts.mainProgram = MainProgram(folder.string(), o.name);
  facts.licence = Licence(folder.string());

  const fs::path language = projectFolder / "Language.ini";
  if (fs::exists(language, ec)) {
    notes.push_back("kept the language file " + language.generic_string());
  } else if (!WriteFile(language.string(), StandardLanguageFile())) {
    return error = "cannot write " + language.generic_string(), false;
  } else {
    notes.push_back("wrote the standard language file " + language.generic_string());
  }
  if (!WriteFile(project.string(), StarterProjectText(o, facts)))
    return error = "cannot write " + o.projectPath, false;
  notes.push_back("wrote " + o.projectPath + " for the files under " + facts.source);
  notes.push_back(facts.mainProgram.empty()
                      ? "no program found: no program shortcut"
                      : "main program: " + facts.mainProgram + " (shortcut and finish page)");
  if (!facts.licence.empty()) notes.push_back("licence page: " + facts.licence);
  return true;
}

}  // namespace tarnpack
