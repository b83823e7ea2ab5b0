#include "support/ProjectDocument.h"

namespace tarn::test {

std::string ProjectDocument(const std::string& settingLines, const std::string& folderLines,
                            const std::string& fileLines, const std::string& otherTasks) {
  return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
         "<InstallProject>\r\n"
         "<Version>TarnInstall5.0</Version>\r\n"
         "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
         "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n" +
         settingLines + "</SubTask>\r\n</Task>\r\n" + otherTasks +
         "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\r\n"
         "<SubTask ID=\"10001\" Type=\"FolderList\">\r\n" +
         folderLines +
         "</SubTask>\r\n"
         "<SubTask ID=\"10002\" Type=\"FileList\">\r\n" +
         fileLines + "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
}

}  // namespace tarn::test
