#include "engine/Cleanup.h"

#include "engine/SharedFolders.h"
#include "text/ByteText.h"

namespace tarn::engine {

void RunCleanup(SetupSession& s) {
  platform::FileSystem& files = s.System.files;
  s.ExtractionOver = true;
  for (const auto& path : s.TempFileList) files.RemoveFile(path);
  if (s.InstallRunning) return;

  const std::string windows = text::AsciiUpper(s.Expand("[Windows Directory]"));
  const std::string shared = text::AsciiUpper(kSharedEngineFolder);
  for (const auto& path : s.Project.InstalledFileList) {
    const std::string upper = text::AsciiUpper(path);
    const bool keep = text::FindText(upper, windows, s.CodePage) != text::npos ||
                      text::FindText(upper, shared, s.CodePage) != text::npos;
    if (!keep) files.RemoveFile(path);
  }
  s.System.system.Pause(100);
  // No created folder may be the current one when it is removed.
  files.ChangeCurrentDirectory("C:\\");
  for (const auto& folder : s.Project.CreatedFolderList) files.RemoveEmptyDirectory(folder);
}

}  // namespace tarn::engine
