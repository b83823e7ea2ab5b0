#include "project/DocumentReader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "support/ProjectText.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

using testing::CrLf;
using testing::Render;

constexpr const char* kHeader[] = {"<?xml version=\"1.0\" encoding=\"GB2312\"?>",
                                   "<InstallProject>", "<Version>TarnInstall5.0</Version>"};

// A document with the usual three header lines, the given body and the closing line.
std::string Document(std::initializer_list<std::string_view> body) {
  std::string text = CrLf({kHeader[0], kHeader[1], kHeader[2]});
  text += CrLf(body);
  text += CrLf({"</InstallProject>"});
  return text;
}

std::string Read(const std::string& document) {
  InstallProject project;
  ParseDocument(document, 0, project);
  return Render(project);
}

struct ReaderCase {
  const char* name;
  std::string document;
  std::string expected;
};

TEST(DocumentReader, LineRules) {
  const ReaderCase cases[] = {
      {"element names in any case",
       Document({"<task ID=\"2002\" Type=\"showdialogbox\" IsExec=\"1\">",
                 "<SUBTASK ID=\"10001\" Type=\"SHOWTEXT\">", "<posx>0</posx>", "</subtask>",
                 "</TASK>"}),
       "2002:ShowDialogBox:1{10001:ShowText[PosX=0]}"},
      {"values with > and <",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\"10001\" Type=\"ShowText\">", "<Description>a > b</Description>",
                 "<Description>a < b</Description>", "</SubTask>", "</Task>"}),
       "2002:ShowDialogBox:1{10001:ShowText[Description=a > b|Description=a ]}"},
      {"an indented field line is an invalid field",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\"10001\" Type=\"ShowBitmap\">", "  <PosX>0</PosX>", "",
                 "<PosY>5</PosY>", "</SubTask>", "</Task>"}),
       "2002:ShowDialogBox:1{10001:ShowBitmap[InvalidField=|InvalidField=|PosY=5]}"},
      {"an indented task start line is no task",
       Document({"  <Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\"10001\" Type=\"ShowText\">", "</SubTask>", "</Task>",
                 "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"0\">", "</Task>"}),
       "2003:ShowDialogBox:0"},
      {"a start line without IsExec keeps ID and type but no subtasks",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\">",
                 "<SubTask ID=\"10001\" Type=\"ShowText\">", "<PosX>0</PosX>", "</SubTask>",
                 "</Task>"}),
       "2002:ShowDialogBox:0"},
      {"a subtask without field lines",
       Document({"<Task ID=\"2403\" Type=\"DataSetting\" IsExec=\"0\">",
                 "<SubTask ID=\"10001\" Type=\"GetValue\">", "</SubTask>",
                 "<SubTask ID=\"10002\" Type=\"GetValue\">", "<ComList>x</ComList>", "</SubTask>",
                 "</Task>"}),
       "2403:DataSetting:0{10001:GetValue[]}{10002:GetValue[ComList=x]}"},
      {"repeated fields stay in document order",
       Document({"<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">",
                 "<SubTask ID=\"10001\" Type=\"GetAllVar\">", "<PathDesc>[InstallDir]</PathDesc>",
                 "<PathValue>D:\\Apps\\Sample</PathValue>", "<PathDesc>[Startup]</PathDesc>",
                 "<PathValue>E:\\</PathValue>", "</SubTask>", "</Task>"}),
       "2402:DataSetting:0{10001:GetAllVar[PathDesc=[InstallDir]|PathValue=D:\\Apps\\Sample|"
       "PathDesc=[Startup]|PathValue=E:\\]}"},
      {"a task without its end line is dropped at the next start line",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\"10001\" Type=\"ShowText\">", "</SubTask>",
                 "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>"}),
       "2003:ShowDialogBox:1"},
      {"a subtask without its end line is dropped at the next subtask start line",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\"10001\" Type=\"ShowText\">", "<PosX>1</PosX>",
                 "<SubTask ID=\"10002\" Type=\"ShowText\">", "<PosX>2</PosX>", "</SubTask>",
                 "</Task>"}),
       "2002:ShowDialogBox:1{10002:ShowText[PosX=2]}"},
      {"lone end lines outside blocks are ignored",
       Document({"</Task>", "</SubTask>", "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "</SubTask>", "<SubTask ID=\"10001\" Type=\"ShowText\">", "</SubTask>",
                 "</SubTask>", "</Task>", "</Task>"}),
       "2002:ShowDialogBox:1{10001:ShowText[]}"},
      {"lines outside blocks are ignored",
       Document({"<PosX>0</PosX>", "garbage", "",
                 "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>",
                 "<PosY>1</PosY>"}),
       "2002:ShowDialogBox:1"},
      {"attribute order gives the values their meaning",
       Document({"<Task Type=\"ShowDialogBox\" ID=\"2002\" IsExec=\"1\">", "</Task>"}),
       "ShowDialogBox:InvalidType:1"},
      {"unknown types, other IsExec texts and IDs with spaces are kept as read",
       Document({"<Task ID=\"2002 \" Type=\"Dialog\" IsExec=\"yes\">", "</Task>",
                 "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"1\" >", "</Task>",
                 "<Task ID=\"2414\" Type=\"DataSetting\" IsExec=\"01\">",
                 "<SubTask ID=\"999999\" Type=\"Shortcut\">", "<File>x</File>", "</SubTask>",
                 "</Task>"}),
       "2002 :InvalidType:0 / 2003:ShowDialogBox:0 / "
       "2414:DataSetting:0{999999:InvalidType[File=x]}"},
      {"start lines with missing attributes keep what was read",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox>", "<SubTask ID=\"1\" Type=\"ShowText\">",
                 "</SubTask>", "</Task>", "<Task ID=\"2003>", "</Task>", "<Task ID=2004 x>",
                 "</Task>", "<Task ID=\"2005\" Type>", "</Task>"}),
       "2002:InvalidType:0 / :InvalidType:0 / :InvalidType:0 / 2005:InvalidType:0"},
      {"subtask start lines with missing attributes",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "<SubTask ID=\"10001\">",
                 "<PosX>1</PosX>", "</SubTask>", "<SubTask ID=10002 Type=ShowText>",
                 "<PosX>2</PosX>", "</SubTask>",
                 "<SubTask ID=\"10003\" Type=\"ShowText\" Extra=\"x\">", "<PosX>3</PosX>",
                 "</SubTask>", "</Task>"}),
       "2002:ShowDialogBox:1{10001:InvalidType[]}{:InvalidType[]}"
       "{10003:InvalidType[PosX=3]}"},
      {"start lines need a space after the tag",
       Document({"<Task>", "<TaskList ID=\"2\" Type=\"DataSetting\" IsExec=\"1\">", "</Task>",
                 "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "<SubTask>",
                 "<SubTasks ID=\"1\" Type=\"ShowText\">", "</SubTask>", "</Task>"}),
       "2002:ShowDialogBox:1"},
      {"a lone LF does not break a line and nothing is trimmed",
       Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                 "<SubTask ID=\" 10001\" Type=\"ShowText\">", "<Description> a\nb </Description>",
                 "<Description>x</Description>\n<PosX>1</PosX>", "</SubTask>", "</Task>"}),
       "2002:ShowDialogBox:1{ 10001:ShowText[Description= a\nb |Description=x]}"},
  };
  for (const ReaderCase& c : cases) EXPECT_EQ(Read(c.document), c.expected) << c.name;
}

TEST(DocumentReader, FirstThreeLinesAreNeverRead) {
  const std::string taskOnLineThree = CrLf(
      {"<?xml version=\"1.0\" encoding=\"GB2312\"?>", "<InstallProject>",
       "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>",
       "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>", "</InstallProject>"});
  EXPECT_EQ(Read(taskOnLineThree), "2002:ShowDialogBox:1");

  const std::string anythingInTheHeader = CrLf(
      {"<Task ID=\"1\" Type=\"DataSetting\" IsExec=\"1\">", "</Task>", "</Task>",
       "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>", "</InstallProject>"});
  EXPECT_EQ(Read(anythingInTheHeader), "2002:ShowDialogBox:1");
}

TEST(DocumentReader, LastLineIsNeverRead) {
  const std::string endsWithTask = CrLf(
      {kHeader[0], kHeader[1], kHeader[2], "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
       "</Task>", "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>"});
  EXPECT_EQ(Read(endsWithTask), "2401:DataSetting:0");
}

TEST(DocumentReader, ShortAndEmptyDocumentsGiveNoTasks) {
  for (const std::string& text :
       {std::string(), std::string("\r\n"), CrLf({"a", "b", "c"}), CrLf({"a", "b", "c", "d"}),
        CrLf({"a", "b", "c", "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">"}),
        std::string("<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n</Task>")}) {
    InstallProject project;
    ParseDocument(text, 0, project);
    EXPECT_EQ(project.TaskCount(), 0u) << text;
    EXPECT_EQ(project.Cursor().Current(), nullptr);
  }
}

TEST(DocumentReader, CursorStartsOnTheFirstExecutableTask) {
  InstallProject project;
  ParseDocument(Document({"<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>",
                          "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>",
                          "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"0\">", "</Task>",
                          "<Task ID=\"2004\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>",
                          "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">", "</Task>"}),
                0, project);
  const TaskCursor& cursor = project.Cursor();
  EXPECT_EQ(cursor.First(), 1u);
  EXPECT_EQ(cursor.Last(), 3u);
  EXPECT_TRUE(cursor.AtStart());
  ASSERT_NE(cursor.Current(), nullptr);
  EXPECT_EQ(cursor.Current()->Id(), "2002");
}

TEST(DocumentReader, ParseTaskAndParseSubTaskReadOneBlock) {
  const std::string subTaskBlock =
      CrLf({"<SubTask ID=\"10001\" Type=\"EditBox\">", "<Description>Name</Description>",
            "<RegVarName>User</RegVarName>", "</SubTask>"});
  const SubTask subTask = ParseSubTask(subTaskBlock, 0);
  EXPECT_EQ(subTask.Id(), "10001");
  EXPECT_EQ(subTask.Type(), SubTaskType::EditBox);
  ASSERT_EQ(subTask.FieldCount(), 2u);
  EXPECT_EQ(subTask.FieldAt(0).Name(), FieldName::Description);
  EXPECT_EQ(subTask.FieldAt(1).Value(), "User");

  EXPECT_EQ(ParseSubTask("<Task ID=\"1\" Type=\"GetValue\">\r\n<File>x</File>\r\n</Task>", 0)
                .FieldCount(),
            0u);
  EXPECT_EQ(ParseSubTask("", 0).Id(), "");

  const Task task = ParseTask(CrLf({"<Task ID=\"2006\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                                    "<SubTask ID=\"10001\" Type=\"GetValue\">",
                                    "<Description>Folder</Description>", "</SubTask>", "</Task>"}),
                              0);
  EXPECT_EQ(Render(task), "2006:ShowDialogBox:1{10001:GetValue[Description=Folder]}");
  // Two lines hold no subtask; the last line is taken as the end line unexamined.
  EXPECT_EQ(Render(ParseTask(CrLf({"<Task ID=\"2006\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                                   "<SubTask ID=\"1\" Type=\"GetValue\">", "</SubTask>"}),
                             0)),
            "2006:ShowDialogBox:1");
  EXPECT_EQ(Render(ParseTask("", 0)), ":InvalidType:0");
}

TEST(DocumentReader, DoubleByteDocuments) {
  // GBK "样例" and "乗" (0x81 0x5C, ending in a backslash byte) and "乤" (0x81 0x61).
  const std::string gbk = Document(
      {"<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
       "<SubTask ID=\"10001\" Type=\"GetAllVar\">",
       "<ProjectName>\xD1\xF9\xC0\xFD\x81\x5C</ProjectName>",
       "<InstallPath>[Program Files]\\\x81\x5C\\\x81\x61</InstallPath>", "</SubTask>", "</Task>"});
  InstallProject gbkProject;
  ParseDocument(gbk, text::kCodePageGbk, gbkProject);
  EXPECT_EQ(Render(gbkProject),
            "2401:DataSetting:0{10001:GetAllVar[ProjectName=\xD1\xF9\xC0\xFD\x81\x5C|"
            "InstallPath=[Program Files]\\\x81\x5C\\\x81\x61]}");

  // Big5 "許" (0xB3 0x5C), "功" (0xA5 0x5C), "仟" (0xA5 0x61), "也" (0xA4 0x5D).
  const std::string big5 =
      Document({"<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">",
                "<SubTask ID=\"\xB3\x5C\" Type=\"ShowText\">",
                "<Description>\xB3\x5C\xA5\x5C > \xA5\x61\xA4\x5D</Description>",
                "<Description>\xA5\x5C</Description>", "</SubTask>", "</Task>"});
  InstallProject big5Project;
  ParseDocument(big5, text::kCodePageBig5, big5Project);
  EXPECT_EQ(Render(big5Project),
            "2002:ShowDialogBox:1{\xB3\x5C:ShowText[Description=\xB3\x5C\xA5\x5C > \xA5\x61\xA4"
            "\x5D|Description=\xA5\x5C]}");
}

}  // namespace
}  // namespace tarn::project
