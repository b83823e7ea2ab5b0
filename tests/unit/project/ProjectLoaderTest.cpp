#include "project/ProjectLoader.h"

#include <gtest/gtest.h>

#include "platform/ForwardingFileSystem.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/PackageEntry.h"
#include "support/ProjectText.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

using testing::CrLf;
using testing::Render;

const std::string kFront = CrLf(
    {"<?xml version=\"1.0\" encoding=\"GB2312\"?>", "<InstallProject>",
     "<Version>TarnInstall5.0</Version>", "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
     "<SubTask ID=\"10001\" Type=\"GetAllVar\">", "<ProjectName>Demo</ProjectName>", "</SubTask>",
     "</Task>", "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">", "</Task>"});

// The extraction task with the given folder and file lines, up to its end line.
std::string ExtractionTask(std::initializer_list<std::string_view> folders,
                           std::initializer_list<std::string_view> files) {
  std::string text = CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
                           "<SubTask ID=\"10001\" Type=\"FolderList\">"});
  for (std::string_view folder : folders)
    text += "<Folder>" + std::string(folder) + "</Folder>\r\n";
  text += CrLf({"</SubTask>", "<SubTask ID=\"10002\" Type=\"FileList\">"});
  for (std::string_view file : files) text += "<File>" + std::string(file) + "</File>\r\n";
  text += CrLf({"</SubTask>", "</Task>"});
  return text;
}

const std::string kClose = "</InstallProject>\r\n";

std::vector<std::string> Values(const InstallProject& project, SubTaskType type, FieldName name) {
  std::vector<std::string> values;
  project.GetFieldValues("2412", type, name, values);
  return values;
}

TEST(ProjectLoader, KeepsTheExtractionTextAndReadsTheLeadingInstallerFiles) {
  const std::string extraction =
      ExtractionTask({"[InstallDir]", "[InstallDir]\\Data"},
                     {"[TempFileDir]\\~TarnInstall-Language.ini,462848,3114,K,2005-1-23 20:20:58",
                      "[TempFileDir]\\a.bmp,465962,10,k,2005-1-23 20:20:58",
                      "[InstallDir]\\app.exe,465972,20,A,2005-1-23 20:20:58",
                      "[TempFileDir]\\late.bmp,465992,30,K,2005-1-23 20:20:58"});
  InstallProject project;
  ASSERT_TRUE(LoadProjectText(kFront + extraction + kClose, 0, project));

  EXPECT_EQ(project.ExtractionText(), extraction);
  EXPECT_EQ(project.ProjectName(), "Demo");
  ASSERT_EQ(project.TaskCount(), 3u);
  EXPECT_EQ(Render(project.TaskAt(2)),
            "2412:ExtractFiles:0{10001:FolderList[]}{10002:FileList["
            "File=[TempFileDir]\\~TarnInstall-Language.ini,462848,3114,K,2005-1-23 20:20:58|"
            "File=[TempFileDir]\\a.bmp,465962,10,k,2005-1-23 20:20:58]}");
  ASSERT_NE(project.Cursor().Current(), nullptr);
  EXPECT_EQ(project.Cursor().Current()->Id(), "2002");

  ASSERT_TRUE(project.RebuildExtractionTask());
  EXPECT_EQ(Values(project, SubTaskType::FolderList, FieldName::Folder),
            (std::vector<std::string>{"[InstallDir]", "[InstallDir]\\Data"}));
  const auto files = Values(project, SubTaskType::FileList, FieldName::File);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[2], "[InstallDir]\\app.exe,465972,20,A,2005-1-23 20:20:58");
  EXPECT_EQ(files[3], "[TempFileDir]\\late.bmp,465992,30,K,2005-1-23 20:20:58");
  ASSERT_EQ(project.TaskAt(2).SubTaskCount(), 2u);
  EXPECT_EQ(project.TaskAt(2).SubTaskAt(0).Id(), "10001");
  EXPECT_EQ(project.TaskAt(2).SubTaskAt(1).Id(), "10002");

  // Refilling again replaces rather than appends, and the kept text never changes.
  ASSERT_TRUE(project.RebuildExtractionTask());
  EXPECT_EQ(Values(project, SubTaskType::FileList, FieldName::File).size(), 4u);
  EXPECT_EQ(project.ExtractionText(), extraction);
}

TEST(ProjectLoader, LoadTimeFileListStopsAtTheFirstOtherEntry) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::size_t loaded;
  } cases[] = {
      {"application file first", {"a,1,2,A,t", "k,1,2,K,t"}, 0},
      {"only installer files", {"k,1,2,K,t", "l,3,4,k,t"}, 2},
      {"unknown kind", {"k,1,2,K,t", "e,1,2,E,t", "k,1,2,K,t"}, 1},
      {"malformed entry", {"k,1,2,K,t", "no commas", "k,1,2,K,t"}, 1},
      {"entry line too long", {"k,1,2,K,t", std::string(5000, 'x') + ",1,2,K,t"}, 1},
      {"empty list", {}, 0},
  };
  for (const auto& c : cases) {
    std::string fileLines;
    for (const std::string& file : c.files) fileLines += "<File>" + file + "</File>\r\n";
    const std::string text = kFront +
                             CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
                                   "<SubTask ID=\"10001\" Type=\"FolderList\">", "</SubTask>",
                                   "<SubTask ID=\"10002\" Type=\"FileList\">"}) +
                             fileLines + CrLf({"</SubTask>", "</Task>"}) + kClose;
    InstallProject project;
    ASSERT_TRUE(LoadProjectText(text, 0, project)) << c.name;
    EXPECT_EQ(Values(project, SubTaskType::FileList, FieldName::File).size(), c.loaded) << c.name;
    ASSERT_TRUE(project.RebuildExtractionTask()) << c.name;
    EXPECT_EQ(Values(project, SubTaskType::FileList, FieldName::File).size(), c.files.size())
        << c.name;
  }
}

TEST(ProjectLoader, ListsEndAtTheFirstLineWithoutTheirItemTag) {
  const std::string text =
      kFront +
      CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
            "<SubTask ID=\"10001\" Type=\"FolderList\">", "<Folder>A</Folder>",
            "x <Folder>B</Folder>", "<folder>C</folder>", "<Folder>D</Folder>", "</SubTask>",
            "<SubTask ID=\"10002\" Type=\"FileList\">", "<File>a,1,2,A,t</File>",
            "  <File>b,1,2,A,t</File>", "", "<File>c,1,2,A,t</File>", "</SubTask>", "</Task>"}) +
      kClose;
  InstallProject project;
  ASSERT_TRUE(LoadProjectText(text, 0, project));
  ASSERT_TRUE(project.RebuildExtractionTask());
  // An item tag anywhere in the line keeps the list going; the line is still read as a field
  // line, so an indented one is an invalid field.
  EXPECT_EQ(Render(project.TaskAt(2)),
            "2412:ExtractFiles:0{10001:FolderList[Folder=A|InvalidField=]}"
            "{10002:FileList[File=a,1,2,A,t|InvalidField=]}");
}

TEST(ProjectLoader, BrokenDocumentsAreRefusedAndLeaveAnEmptyModel) {
  const std::string good = ExtractionTask({"[InstallDir]"}, {"k,1,2,K,t"});
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"no extraction task", kFront + kClose},
      {"extraction task in other case", kFront + "<task ID=\"2412\"" + good.substr(15) + kClose},
      {"no folder list", kFront +
                             CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
                                   "<SubTask ID=\"10002\" Type=\"FileList\">",
                                   "<File>k,1,2,K,t</File>", "</SubTask>", "</Task>"}) +
                             kClose},
      {"no file list", kFront +
                           CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
                                 "<SubTask ID=\"10001\" Type=\"FolderList\">", "<Folder>A</Folder>",
                                 "</SubTask>", "</Task>"}) +
                           kClose},
      {"file list before the folder list",
       kFront +
           CrLf({"<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">",
                 "<SubTask ID=\"10002\" Type=\"FileList\">", "<File>k,1,2,K,t</File>", "</SubTask>",
                 "<SubTask ID=\"10001\" Type=\"FolderList\">", "</SubTask>", "</Task>"}) +
           kClose},
      {"list start line without the space",
       kFront + "<Task ID=\"2412\"\r\n" + "<SubTask ID=\"10001\"Type=\"FolderList\">\r\n" +
           "<SubTask ID=\"10002\" Type=\"FileList\">\r\n" + kClose},
      {"shorter than the closing line", kFront + "<Task ID=\"2412\""},
      {"closing line cuts into the lists",
       kFront + "<Task ID=\"2412\" Type=\"FolderList\">\r\n Type=\"FileList\">\r\n"},
      {"NUL byte", kFront + std::string(1, '\0') + good + kClose},
      {"NUL byte in a file entry",
       kFront + ExtractionTask({}, {std::string("k,1,2,K,t\0x", 11)}) + kClose},
  };
  for (const auto& c : cases) {
    InstallProject project;
    ASSERT_TRUE(LoadProjectText(kFront + good + kClose, 0, project));
    EXPECT_FALSE(LoadProjectText(c.text, 0, project)) << c.name;
    EXPECT_EQ(project.TaskCount(), 0u) << c.name;
    EXPECT_EQ(project.ProjectName(), "") << c.name;
    EXPECT_EQ(project.ExtractionText(), "") << c.name;
    EXPECT_EQ(project.Cursor().Current(), nullptr) << c.name;
    EXPECT_FALSE(project.RebuildExtractionTask()) << c.name;
  }
}

TEST(ProjectLoader, DocumentWithoutClosingLineLosesItsLastNineteenCharacters) {
  // The builder always ends with "</InstallProject>" and CR LF. Whatever stands there instead
  // is cut: without the closing line the cut falls into the extraction task's end lines, and
  // the file list is still whole.
  const std::string extraction = ExtractionTask({"A"}, {"k,1,2,K,t"});
  InstallProject project;
  ASSERT_TRUE(LoadProjectText(kFront + extraction, 0, project));
  EXPECT_EQ(project.ExtractionText(), extraction.substr(0, extraction.size() - 19));
  ASSERT_TRUE(project.RebuildExtractionTask());
  EXPECT_EQ(Values(project, SubTaskType::FileList, FieldName::File),
            (std::vector<std::string>{"k,1,2,K,t"}));
}

TEST(ProjectLoader, GbkAndBig5Documents) {
  const struct {
    const char* name;
    std::uint32_t codePage;
    std::string projectName;
    std::string folder;
    std::string installerFile;
    std::string target;
  } cases[] = {
      // GBK "样例软件" plus "乗" (0x81 0x5C) and "乤" (0x81 0x61), whose trail bytes are a
      // backslash and a lower-case letter.
      {"GBK", text::kCodePageGbk, "\xD1\xF9\xC0\xFD\xC8\xED\xBC\xFE\x81\x5C\x81\x61",
       "[InstallDir]\\\x81\x5C\\\x81\x61", "[TempFileDir]\\\xCB\xB5\xC3\xF7.txt",
       "[InstallDir]\\\x81\x5C\\a.txt"},
      // Big5 "許" (0xB3 0x5C), "功" (0xA5 0x5C), "仟" (0xA5 0x61) and "也" (0xA4 0x5D).
      {"Big5", text::kCodePageBig5, "\xB3\x5C\xA5\x5C\xA5\x61 Tool", "[InstallDir]\\\xA4\x5D\\",
       "[TempFileDir]\\\xA5\x5C.ini", "[InstallDir]\\\xB3\x5C\\\xA5\x61,b.txt"},
  };
  for (const auto& c : cases) {
    const std::string text =
        CrLf({"<?xml version=\"1.0\" encoding=\"GB2312\"?>", "<InstallProject>",
              "<Version>TarnInstall5.0</Version>",
              "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">",
              "<SubTask ID=\"10001\" Type=\"GetAllVar\">",
              "<ProjectName>" + c.projectName + "</ProjectName>", "</SubTask>", "</Task>"}) +
        ExtractionTask({c.folder}, {c.installerFile + ",1,2,K,2005-1-2 3:4:5",
                                    c.target + ",3,4,A,2005-1-2 3:4:5"}) +
        kClose;
    InstallProject project;
    ASSERT_TRUE(LoadProjectText(text, c.codePage, project)) << c.name;
    EXPECT_EQ(project.ProjectName(), c.projectName) << c.name;
    EXPECT_EQ(project.CodePage(), c.codePage) << c.name;
    ASSERT_TRUE(project.RebuildExtractionTask()) << c.name;
    EXPECT_EQ(Values(project, SubTaskType::FolderList, FieldName::Folder),
              std::vector<std::string>{c.folder})
        << c.name;
    const auto files = Values(project, SubTaskType::FileList, FieldName::File);
    ASSERT_EQ(files.size(), 2u) << c.name;
    const auto installer = package::PackageEntry::Parse(files[0]);
    const auto application = package::PackageEntry::Parse(files[1]);
    ASSERT_TRUE(installer && application) << c.name;
    EXPECT_EQ(installer->Target(), c.installerFile) << c.name;
    EXPECT_EQ(application->Target(), c.target) << c.name;
    EXPECT_EQ(application->Offset(), 3) << c.name;
  }
}

// A file system holding one document, handed out in small pieces, whose length may be
// unknown or claimed larger than it is.
class PieceFileSystem : public platform::ForwardingFileSystem {
 public:
  PieceFileSystem(std::string text, std::optional<std::uint64_t> length)
      : text_(std::move(text)), length_(length) {}

  std::unique_ptr<platform::File> Open(const std::string&, platform::OpenMode mode) override {
    if (mode != platform::OpenMode::Read) return nullptr;
    return std::make_unique<PieceFile>(text_, length_);
  }

 private:
  class PieceFile : public platform::ForwardingFile {
   public:
    PieceFile(const std::string& text, std::optional<std::uint64_t> length)
        : text_(text), length_(length) {}
    bool Read(void* buffer, std::size_t size, std::size_t& got) override {
      got = std::min<std::size_t>({size, 7, text_.size() - pos_});
      text_.copy(static_cast<char*>(buffer), got, pos_);
      pos_ += got;
      return true;
    }
    std::optional<std::uint64_t> Length() override { return length_; }

   private:
    const std::string& text_;
    std::optional<std::uint64_t> length_;
    std::size_t pos_ = 0;
  };

  std::string text_;
  std::optional<std::uint64_t> length_;
};

TEST(ProjectLoader, ReadsTheWholeFileWhateverPiecesItComesIn) {
  const std::string text = kFront + ExtractionTask({"A"}, {"k,1,2,K,t", "a,3,4,A,t"}) + kClose;
  for (const std::optional<std::uint64_t> length :
       {std::optional<std::uint64_t>(text.size()), std::optional<std::uint64_t>()}) {
    PieceFileSystem fileSystem(text, length);
    InstallProject project;
    ASSERT_TRUE(LoadProject(fileSystem, "C:\\Temp\\p.xml", 0, project));
    EXPECT_EQ(project.ProjectName(), "Demo");
    ASSERT_TRUE(project.RebuildExtractionTask());
    EXPECT_EQ(Values(project, SubTaskType::FileList, FieldName::File),
              (std::vector<std::string>{"k,1,2,K,t", "a,3,4,A,t"}));
  }
}

TEST(ProjectLoader, RefusesFilesAboveTheSizeLimit) {
  const std::string text = kFront + ExtractionTask({"A"}, {"k,1,2,K,t"}) + kClose;
  PieceFileSystem fileSystem(text, std::uint64_t{kMaxDocumentSize} + 1);
  InstallProject project;
  EXPECT_FALSE(LoadProject(fileSystem, "C:\\Temp\\p.xml", 0, project));
  EXPECT_EQ(project.TaskCount(), 0u);
}

// A real package's document (about 20 MB for a hundred thousand files) loads, in one piece or
// told no length; one past the limit does not even when its text is small.
TEST(ProjectLoader, RealSizedDocumentLoadsWellBelowTheLimit) {
  std::string files;
  const std::string line =
      "<File>[InstallDir]\\program files\\some product\\data\\"
      "a rather long file name of a resource.dat,123456789,98765,A,"
      "2005-1-23 20:20:58,0</File>\r\n";
  files.reserve(20u << 20);
  while (files.size() < (20u << 20)) files += line;
  std::string text = kFront + ExtractionTask({"A"}, {"k,1,2,K,t"}) + kClose;
  text.insert(text.find("</SubTask>\r\n</Task>\r\n</InstallProject>"), files);
  ASSERT_GT(text.size(), 20u << 20);
  ASSERT_LT(text.size() * 3, kMaxDocumentSize);  // room to spare

  const struct {
    std::optional<std::uint64_t> length;
    bool loads;
  } cases[] = {{text.size(), true}, {std::nullopt, true}, {kMaxDocumentSize + 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length.value_or(0));
    PieceFileSystem fileSystem(text, c.length);
    InstallProject project;
    EXPECT_EQ(LoadProject(fileSystem, "C:\\Temp\\p.xml", 0, project), c.loads);
    if (c.loads) {
      EXPECT_EQ(project.ProjectName(), "Demo");
    }
  }
}

TEST(ProjectLoader, MissingFileFailsWithAnEmptyModel) {
  const auto fileSystem = platform::MakeSystemFileSystem();
  InstallProject project;
  project.AddTask(Task("2401", TaskType::DataSetting, false));
  EXPECT_FALSE(LoadProject(*fileSystem, TARN_TEST_DATA "/project/no-such-project.xml", 0, project));
  EXPECT_EQ(project.TaskCount(), 0u);
}

}  // namespace
}  // namespace tarn::project
