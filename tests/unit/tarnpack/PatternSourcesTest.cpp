#include "tarnpack/PatternSources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "tarnpack/AuthorDocument.h"
#include "tarnpack/ProjectCheck.h"

namespace tarnpack {
namespace {

// "a/b/" makes a folder, "a/b" a file holding its own name.
void MakeTree(const std::string& root, const std::vector<std::string>& paths) {
  for (const auto& p : paths) {
    const std::filesystem::path host = root + "/" + p;
    if (p.back() == '/') {
      std::filesystem::create_directories(host);
    } else {
      std::filesystem::create_directories(host.parent_path());
      std::ofstream(host, std::ios::binary) << p;
    }
  }
}

// The File and Folder values of task 2412 after expansion.
struct Lists {
  std::vector<std::string> folders, files;
};
Lists ListsOf(const std::vector<std::string>& lines) {
  Lists out;
  const ExtractionLists lists = FindExtractionLists(lines);
  for (auto i : lists.folderLines) out.folders.push_back(*FieldLineValue(lines[i], "Folder"));
  for (auto i : lists.fileLines) out.files.push_back(*FieldLineValue(lines[i], "File"));
  return out;
}

const std::string kGbkName = "\xD1\xF9\xC0\xFD";  // two GB2312 characters
const std::string kLanguage = "[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K";

TEST(PatternSources, ExpandIntoSortedEntriesAndDeepestFirstFolders) {
  tarn::test::ScratchFolder dir;
  const std::string root = dir.HostPath("");
  MakeTree(root, {"lang.ini", "other.bin", "files/ReadMe.txt", "files/Docs/Getting Started.txt",
                  "files/Docs/empty/", "files/bin/a.dll", "files/bin/B.DLL",
                  "files/bin/plugins/c.dll", "files/bin/plugins/c.txt",
                  "files/" + kGbkName + "/x y.txt", "files/odd/a,b.txt", "files/odd/c.txt"});
  const struct {
    const char* what;
    std::vector<std::string> lines;  // after the language file
    std::vector<std::string> files;  // after the language file
    std::vector<std::string> folders;
    std::string problem;  // "" for none
  } cases[] = {
      {"one level",
       {"[InstallDir],files\\*,A"},
       {"[InstallDir]\\ReadMe.txt,files\\ReadMe.txt,A"},
       {"[InstallDir]"},
       ""},
      {"every folder down, in any case, with the line's time stamp",
       {"[InstallDir]\\Lib\\,files\\**\\*.DLL,N,2005-1-2 3:4:5"},
       {"[InstallDir]\\Lib\\bin\\B.DLL,files\\bin\\B.DLL,N,2005-1-2 3:4:5",
        "[InstallDir]\\Lib\\bin\\a.dll,files\\bin\\a.dll,N,2005-1-2 3:4:5",
        "[InstallDir]\\Lib\\bin\\plugins\\c.dll,files\\bin\\plugins\\c.dll,N,2005-1-2 3:4:5"},
       {"[InstallDir]\\Lib\\bin\\plugins", "[InstallDir]\\Lib\\bin", "[InstallDir]\\Lib",
        "[InstallDir]"},
       ""},
      {"a bare folder keeps its empty folder",
       {"[InstallDir]\\Docs,files\\Docs,A"},
       {"[InstallDir]\\Docs\\Getting Started.txt,files\\Docs\\Getting Started.txt,A"},
       {"[InstallDir]\\Docs\\empty", "[InstallDir]\\Docs", "[InstallDir]"},
       ""},
      {"an explicit line wins, wherever it stands and in any case",
       {"[InstallDir]\\bin,files\\bin\\?.dll,A", "[INSTALLDIR]\\BIN\\a.DLL,other.bin,N"},
       {"[InstallDir]\\bin\\B.DLL,files\\bin\\B.DLL,A", "[INSTALLDIR]\\BIN\\a.DLL,other.bin,N"},
       {"[InstallDir]\\bin", "[InstallDir]"},
       ""},
      {"names in double bytes and with blanks",
       {"[InstallDir]\\" + kGbkName + ",files\\" + kGbkName + "\\*.txt,A"},
       {"[InstallDir]\\" + kGbkName + "\\x y.txt,files\\" + kGbkName + "\\x y.txt,A"},
       {"[InstallDir]\\" + kGbkName, "[InstallDir]"},
       ""},
      {"a name no entry line can hold",
       {"[InstallDir]\\odd,files\\odd,A"},
       {"[InstallDir]\\odd\\c.txt,files\\odd\\c.txt,A"},
       {"[InstallDir]\\odd", "[InstallDir]"},
       "line 15: the file files\\odd\\a,b.txt holds a \",\", which no pattern can pack: give it a "
       "line of its own"},
      {"no folder to match in",
       {"[InstallDir],nowhere\\*,A"},
       {},
       {"[InstallDir]"},
       "line 15: the pattern nowhere\\* matches no file: there is no folder nowhere"},
      {"a folder without files",
       {"[InstallDir]\\E,files\\Docs\\empty,A"},
       {},
       {"[InstallDir]"},
       "line 15: the folder files\\Docs\\empty holds no file"},
      {"no match",
       {"[InstallDir],files\\*.exe,A"},
       {},
       {"[InstallDir]"},
       "line 15: the pattern files\\*.exe matches no file"},
      {"two patterns for one target",
       {"[InstallDir],files\\*,A", "[InstallDir],files\\*.txt,N"},
       {"[InstallDir]\\ReadMe.txt,files\\ReadMe.txt,A"},
       {"[InstallDir]"},
       "line 16: the target [InstallDir]\\ReadMe.txt comes from line 15 as well"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string fileLines = "<File>" + kLanguage + "</File>\r\n";
    for (const auto& l : c.lines) fileLines += "<File>" + l + "</File>\r\n";
    const std::string text = tarn::test::ProjectDocument(
        "<DiskSize></DiskSize>\r\n", "<Folder>[InstallDir]</Folder>\r\n", fileLines);
    const auto expanded = ExpandSources(SplitDocumentLines(text), root, 936);
    EXPECT_TRUE(expanded.hasPatterns);
    const Lists lists = ListsOf(expanded.lines);
    std::vector<std::string> files = {kLanguage};
    files.insert(files.end(), c.files.begin(), c.files.end());
    EXPECT_EQ(lists.files, files);
    EXPECT_EQ(lists.folders, c.folders);
    const auto problems = CheckProject(text, root);
    std::string reported;
    for (const auto& p : problems) reported += FormatProblem("p", p) + "\n";
    EXPECT_EQ(reported, c.problem.empty() ? "" : "p: " + c.problem + "\n");
  }
}

#ifndef _WIN32
// A Big5 character whose trail byte is a backslash stays one character of one name.
TEST(PatternSources, TrailBytesAreNotFolderSeparators) {
  tarn::test::ScratchFolder dir;
  const std::string name = "\xB3\x5C.txt";
  MakeTree(dir.HostPath(""), {"lang.ini", "files/" + name});
  std::string text = tarn::test::ProjectDocument(
      "<DiskSize></DiskSize>\r\n", "<Folder>[InstallDir]</Folder>\r\n",
      "<File>" + kLanguage + "</File>\r\n<File>[InstallDir]\\f,files,A</File>\r\n" +
          "<File>[InstallDir]\\g.txt,files\\" + name + ",A</File>\r\n");
  text.replace(text.find("GB2312"), 6, "Big5");
  const auto expanded = ExpandSources(SplitDocumentLines(text), dir.HostPath(""), 950);
  EXPECT_EQ(ListsOf(expanded.lines).files.at(1),
            "[InstallDir]\\f\\" + name + ",files\\" + name + ",A");
  EXPECT_TRUE(CheckProject(text, dir.HostPath("")).empty());
}
#endif

TEST(PatternSources, NamesMatchLikeTheCommandLine) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "a.txt", true},      {"*.TXT", "a.txt", true}, {"*.txt", "a.txt.bak", false},
      {"a?c", "abc", true},      {"a?c", "ac", false},     {"*b*", "abc", true},
      {"a*c*e", "abcde", true},  {"a*c*e", "abcd", false}, {"?", "\xD1\xF9", true},
      {"??", "\xD1\xF9", false}, {"", "", true},           {"*.*", "noext", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesName(c.pattern, c.name, 936), c.matches) << c.pattern << " " << c.name;
}

}  // namespace
}  // namespace tarnpack
