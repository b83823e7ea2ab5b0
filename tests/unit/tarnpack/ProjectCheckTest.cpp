#include "tarnpack/ProjectCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"

namespace tarnpack {
namespace {

const std::string kSettings =
    "<ProjectName>P</ProjectName>\r\n<InstallPath>[Program Files]\\P</InstallPath>\r\n"
    "<DiskSize></DiskSize>\r\n";
const std::string kLanguage =
    "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n";
const std::string kFile = "<File>[InstallDir]\\a.txt,a.txt,A</File>\r\n";
const std::string kTask = "<Task ID=\"2409\" Type=\"DataSetting\" IsExec=\"0\">\r\n";
const std::string kGetValue = "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n";
const std::string kEnd = "</SubTask>\r\n</Task>\r\n";

std::string Checked(const std::string& text, const std::string& folder) {
  std::string out;
  for (const auto& p : CheckProject(text, folder)) out += FormatProblem("p.xml", p) + "\n";
  return out;
}

TEST(ProjectCheck, NamesEveryProblemWithItsLine) {
  tarn::test::ScratchFolder dir;
  dir.WriteFile("lang.ini", "[Language=409]\r\n");
  dir.WriteFile("a.txt", "a");
  const std::string longName(499 - 13, 'x');  // "[InstallDir]\" and this: 499 characters
  const struct {
    const char* what;
    std::string settings, tasks, files;
    std::string problems;  // as printed, each line "p.xml: line N: ..."
  } cases[] = {
      {"a sound project", kSettings, kTask + kGetValue + kEnd, kLanguage + kFile, ""},
      {"an unknown task, task type and subtask type", kSettings,
       "<Task ID=\"2499\" Type=\"DataSettings\" IsExec=\"0\">\r\n<SubTask ID=\"1\" "
       "Type=\"Shortcut\">\r\n" +
           kEnd,
       kLanguage + kFile,
       "p.xml: line 11: the setup program knows no task 2499\n"
       "p.xml: line 11: the setup program knows no task type \"DataSettings\"\n"
       "p.xml: line 12: the setup program knows no subtask type \"Shortcut\"\n"},
      {"a broken start line and a task without its end", kSettings,
       "<Task ID=\"2409\" Type=\"DataSetting\">\r\n" + kGetValue + "</SubTask>\r\n", kLanguage,
       "p.xml: line 11: a task start line reads <Task ID=\"...\" Type=\"...\" IsExec=\"...\">\n"
       "p.xml: line 11: the task that starts here has no </Task> line\n"},
      {"field lines", kSettings,
       kTask + kGetValue + "  <File>x</File>\r\n<File>a<b</File>\r\n" + kEnd, kLanguage,
       "p.xml: line 13: expected a field line <Name>value</Name>\n"
       "p.xml: line 14: a value cannot contain \"<\"\n"},
      {"file lines that do not parse, or name what is not there", kSettings, "",
       kLanguage + "<File>[InstallDir]\\a.txt,a.txt</File>\r\n<Path>x</Path>\r\n" +
           "<File>[InstallDir]\\b.txt,gone.txt,A</File>\r\n" +
           "<File>[InstallDir]\\c.txt,a.txt,A,2005-2-30 1:2:3</File>\r\n",
       "p.xml: line 17: expected target,source,kind[,timestamp]\n"
       "p.xml: line 18: expected a <File>...</File> line\n"
       "p.xml: line 19: the source file gone.txt is missing\n"
       "p.xml: line 20: the time stamp 2005-2-30 1:2:3 is not a date and time such as "
       "2005-1-23 20:20:58\n"},
      {"targets", kSettings, "",
       kLanguage + "<File>InstallDir\\a.txt,a.txt,A</File>\r\n" + kFile +
           "<File>[installdir]\\A.TXT,a.txt,N</File>\r\n" + "<File>[InstallDir]\\" + longName +
           ",a.txt,A</File>\r\n" + "<File>[InstallDir]\\" + longName + "y,a.txt,A</File>\r\n",
       "p.xml: line 17: the target InstallDir\\a.txt does not start with a path token such as "
       "[InstallDir]\n"
       "p.xml: line 19: the target [installdir]\\A.TXT is also the target of line 18\n"
       "p.xml: line 21: the target is 500 characters long; the setup program refuses paths of "
       "500 characters or more\n"},
      {"the language file is not first", kSettings, "", kFile + kLanguage,
       "p.xml: line 16: the first file must be the language file, of kind K\n"
       "p.xml: line 17: files of kind K must come before all others\n"},
      {"an install path without a token, no disk size",
       "<InstallPath>C:\\Program Files\\P</InstallPath>\r\n", "", kLanguage + kFile,
       "p.xml: task 2401 has no <DiskSize> line in its GetAllVar subtask\n"
       "p.xml: line 6: the install path C:\\Program Files\\P does not start with a path token "
       "such as [Program Files]\n"},
      {"text outside the code page", kSettings,
       kTask + kGetValue + "<File>\xD1\xF9\x80</File>\r\n<File>\xD1</File>\r\n" + kEnd,
       kLanguage + kFile,
       "p.xml: line 13: the text is not valid GB2312 (code page 936): byte 0x80 at column 9\n"
       "p.xml: line 14: the text is not valid GB2312 (code page 936): byte 0xD1 at column 7\n"},
      {"no file list", kSettings, "", "", "p.xml: the file list is empty\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = tarn::test::ProjectDocument(
        c.settings, "<Folder>[InstallDir]</Folder>\r\n", c.files, c.tasks);
    EXPECT_EQ(Checked(text, dir.HostPath("")), c.problems);
  }
}

TEST(ProjectCheck, ReadsTextInTheDeclaredCodePage) {
  tarn::test::ScratchFolder dir;
  dir.WriteFile("lang.ini", "[Language=409]\r\n");
  // Valid in GB2312, not in Big5: 0x80 is no Big5 trail byte.
  std::string text =
      tarn::test::ProjectDocument(kSettings, "<Folder>[InstallDir]</Folder>\r\n", kLanguage,
                                  kTask + kGetValue + "<File>\xA4\x80</File>\r\n" + kEnd);
  EXPECT_EQ(Checked(text, dir.HostPath("")), "");
  text.replace(text.find("GB2312"), 6, "Big5");
  EXPECT_EQ(Checked(text, dir.HostPath("")),
            "p.xml: line 13: the text is not valid Big5 (code page 950): byte 0xA4 at column 7\n");
}

// The sample as the repository holds it: sound, but for the programs built in the Windows trees.
TEST(ProjectCheck, SampleProjectLacksOnlyItsPrograms) {
  std::ifstream in(TARN_SAMPLE_DIR "/project.xml", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  const std::size_t at = text.find("<File>[InstallDir]\\SampleApp.exe,bin\\SampleApp.exe,");
  ASSERT_NE(at, std::string::npos);
  const auto line = std::count(text.begin(), text.begin() + static_cast<long>(at), '\n') + 1;
  EXPECT_EQ(
      Checked(text, TARN_SAMPLE_DIR),
      "p.xml: line " + std::to_string(line) + ": the source file bin\\SampleApp.exe is missing\n");
}

}  // namespace
}  // namespace tarnpack
