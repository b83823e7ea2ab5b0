#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/ScratchFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include "platform/posix/PosixFileSystem.h"
#endif

namespace tarn::platform {
namespace {

// The machine's own file system, used in a scratch folder: under Wine the real Win32 calls,
// natively the Linux mapping of drive letters.
class FileSystemTest : public ::testing::Test {
 protected:
  void Write(const std::string& path, const std::string& content) {
    ASSERT_TRUE(WriteWholeFile(files, path, content)) << path;
  }
  std::vector<std::string> Names(const std::string& pattern, bool directories) {
    std::vector<std::string> names;
    const auto entries = files.Enumerate(pattern);
    if (!entries) return {"<failed>"};
    for (const auto& e : *entries) {
      if (e.name != "." && e.name != ".." && e.isDirectory == directories) names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ScratchFolder scratch;
  FileSystem& files = scratch.Files();
};

TEST_F(FileSystemTest, WriteReadUpdateAndLength) {
  const std::string path = scratch / "a.bin";
  Write(path, "hello world");
  EXPECT_EQ(ReadWholeFile(files, path), "hello world");
  {
    auto file = files.Open(path, OpenMode::Update);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Length(), 11u);
    ASSERT_TRUE(file->Seek(-5, SeekOrigin::End));
    ASSERT_TRUE(file->Write("WORLD!", 6));
  }
  EXPECT_EQ(ReadWholeFile(files, path), "hello WORLD!");
  // Writing replaces the content.
  Write(path, "x");
  EXPECT_EQ(ReadWholeFile(files, path), "x");
  EXPECT_FALSE(files.Open(scratch / "missing", OpenMode::Read));
  EXPECT_FALSE(files.Open(scratch / "missing", OpenMode::Update));
  EXPECT_FALSE(ReadWholeFile(files, scratch / "missing"));
}

TEST_F(FileSystemTest, DirectoriesAndEnumeration) {
  const std::string dir = scratch / "Dir";
  ASSERT_TRUE(files.MakeDirectory(dir));
  EXPECT_FALSE(files.MakeDirectory(dir));  // exists already
  EXPECT_FALSE(files.MakeDirectory(scratch / "no\\parent"));
  EXPECT_TRUE(files.IsDirectory(dir));
  ASSERT_TRUE(files.MakeDirectory(dir + "\\Sub"));
  Write(dir + "\\b.txt", "b");
  Write(dir + "\\a.TXT", "a");
  Write(dir + "\\noext", "n");
  EXPECT_TRUE(files.Exists(dir + "\\b.txt"));
  EXPECT_FALSE(files.IsDirectory(dir + "\\b.txt"));

  EXPECT_EQ(Names(dir + "\\*.*", false), (std::vector<std::string>{"a.TXT", "b.txt", "noext"}));
  EXPECT_EQ(Names(dir + "\\*.*", true), std::vector<std::string>{"Sub"});
  EXPECT_EQ(Names(dir + "\\*.txt", false), (std::vector<std::string>{"a.TXT", "b.txt"}));
  EXPECT_EQ(Names(dir + "\\*.none", false), std::vector<std::string>{});
  EXPECT_FALSE(files.Enumerate(scratch / "missing\\*.*"));

  // A folder with content stays; an empty one goes.
  EXPECT_FALSE(files.RemoveEmptyDirectory(dir));
  EXPECT_TRUE(files.RemoveEmptyDirectory(dir + "\\Sub"));
  EXPECT_FALSE(files.Exists(dir + "\\Sub"));
  for (const char* name : {"\\a.TXT", "\\b.txt", "\\noext"})
    EXPECT_TRUE(files.RemoveFile(dir + name));
  EXPECT_FALSE(files.RemoveFile(dir + "\\b.txt"));
  EXPECT_TRUE(files.RemoveEmptyDirectory(dir));
}

TEST_F(FileSystemTest, CopyHonoursFailIfExists) {
  const std::string from = scratch / "from", to = scratch / "to";
  Write(from, "new");
  Write(to, "old");
  EXPECT_FALSE(files.CopyFileTo(from, to, true));
  EXPECT_EQ(ReadWholeFile(files, to), "old");
  EXPECT_TRUE(files.CopyFileTo(from, to, false));
  EXPECT_EQ(ReadWholeFile(files, to), "new");
  EXPECT_FALSE(files.CopyFileTo(scratch / "missing", scratch / "other", false));
  EXPECT_FALSE(files.Exists(scratch / "other"));
}

TEST_F(FileSystemTest, CurrentDirectoryRoundTrip) {
  const std::string before = files.CurrentDirectory();
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(files.MakeDirectory(scratch / "cwd"));
  ASSERT_TRUE(files.ChangeCurrentDirectory(scratch / "cwd"));
  const std::string now = files.CurrentDirectory();
  // Leave the folder before checking, so the scratch folder can be removed.
  ASSERT_TRUE(files.ChangeCurrentDirectory(before));
#ifdef _WIN32
  EXPECT_EQ(now.substr(now.size() - 4), "\\cwd");
#else
  EXPECT_EQ(now, "C:\\scratch\\cwd");
#endif
  EXPECT_FALSE(files.ChangeCurrentDirectory(scratch / "missing"));
}

TEST_F(FileSystemTest, SetTimesChangesTheWriteTime) {
  const std::string path = scratch / "stamped";
  Write(path, "x");
  // 2005-01-23 20:20:58 UTC in 100 ns units since 1601.
  const FileTime stamp = 127509852580000000ull;
  {
    auto file = files.Open(path, OpenMode::Update);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->SetTimes(stamp, stamp, stamp));
  }
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ((static_cast<FileTime>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                data.ftLastWriteTime.dwLowDateTime,
            stamp);
#else
  struct stat st {};
  ASSERT_EQ(::stat(scratch.HostPath(path).c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1106511658);
#endif
}

#ifndef _WIN32
TEST(PosixFileSystem, MapsDriveLettersUnderItsRoot) {
  PosixFileSystem files("/srv/root");
  struct Case {
    const char* path;
    const char* host;
  } cases[] = {
      {"C:\\a\\b.txt", "/srv/root/C/a/b.txt"},
      {"c:\\x", "/srv/root/C/x"},
      {"D:", "/srv/root/D/"},
      {"E:rel", "/srv/root/E/rel"},
      {"/tmp/file", "/tmp/file"},
      // Linux paths may be written with backslashes, as tools hand them to the package reader.
      {"relative\\name", "relative/name"},
      {"\\tmp\\pkg\\Setup2.Cab", "/tmp/pkg/Setup2.Cab"},
  };
  for (const auto& c : cases) EXPECT_EQ(files.HostPath(c.path), c.host) << c.path;
  EXPECT_EQ(files.GuestPath("/srv/root/C/a/b.txt"), "C:\\a\\b.txt");
  EXPECT_EQ(files.GuestPath("/srv/root/D"), "D:\\");
  EXPECT_EQ(files.GuestPath("/srv/rootless/C/a"), "/srv/rootless/C/a");
}
#endif

}  // namespace
}  // namespace tarn::platform
