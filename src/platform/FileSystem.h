#pragma once
// Files as the core sees them. Paths are Windows paths as byte strings in the ANSI code page.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Time.h"

namespace tarn::platform {

enum class OpenMode {
  Read,    // existing file, read only
  Write,   // created or truncated, write only
  Update,  // existing file, read and write
  Log,     // like Write, but other programs may read the file while it grows
};

enum class SeekOrigin { Begin, Current, End };

// An open file; closed when the object is destroyed.
class File {
 public:
  virtual ~File() = default;
  // Reads up to `size` bytes; `got` receives the count (0 at the end of the file).
  virtual bool Read(void* buffer, std::size_t size, std::size_t& got) = 0;
  // Writes all `size` bytes or fails.
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool Seek(std::int64_t offset, SeekOrigin origin) = 0;
  virtual std::optional<std::uint64_t> Length() = 0;
  // Sets the creation, last-access and last-write times. A system that keeps no creation time
  // ignores that one.
  virtual bool SetTimes(FileTime created, FileTime accessed, FileTime written) = 0;
  // Writes what the system still holds for the file to the disk, so that it survives a power
  // cut. A system that cannot tell reports success.
  virtual bool Flush() { return true; }
};

// One name found by an enumeration, without its folder.
struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Null when the file cannot be opened in that mode.
  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;

  virtual bool RemoveFile(const std::string& path) = 0;
  // Gives a file a new name in the same volume; fails when `to` exists already.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Marks a file hidden from ordinary folder listings, or clears the mark; gives whether it was
  // hidden before, nothing when the file cannot be reached. A system without the mark keeps
  // files visible and reports them so.
  virtual std::optional<bool> SetHidden(const std::string& path, bool hidden) = 0;
  // Whether the file is marked hidden; nothing when it cannot be reached.
  virtual std::optional<bool> IsHidden(const std::string& path) {
    if (!Exists(path)) return std::nullopt;
    return false;
  }
  // Gives the file `existing` a second name `link` in the same volume; false where the volume
  // has no such names (the caller copies instead).
  virtual bool LinkFile(const std::string& existing, const std::string& link) {
    (void)existing;
    (void)link;
    return false;
  }
  // Renames `from` over `to` in one call, replacing a file there: at no instant is `to` missing.
  // The base can only remove and rename, which real systems do better.
  virtual bool RenameOver(const std::string& from, const std::string& to) {
    if (Exists(to) && !RemoveFile(to)) return false;
    return RenameFile(from, to);
  }
  // Copies a file; with `failIfExists` an existing target is left alone and the copy fails.
  virtual bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Creates one directory; its parent must exist. False if it exists already.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // Removes an empty directory.
  virtual bool RemoveEmptyDirectory(const std::string& path) = 0;
  // The entries matching `pattern` ("C:\dir\*.*", "C:\dir\*.txt"), in the system's order,
  // "." and ".." included where the system reports them. Nothing when the search cannot start
  // (missing folder); an empty list when it starts but finds nothing.
  virtual std::optional<std::vector<DirectoryEntry>> Enumerate(const std::string& pattern) = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;

  virtual bool ChangeCurrentDirectory(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;
};

// The file system of the machine the program runs on.
std::unique_ptr<FileSystem> MakeSystemFileSystem();

// Reads exactly `size` bytes; false on an error or an early end of file.
bool ReadExactly(File& file, void* buffer, std::size_t size);

// The whole content of a file; nothing when it cannot be opened or read, when it is longer than
// `maxSize` bytes, or when the memory for it cannot be had.
std::optional<std::string> ReadWholeFile(FileSystem& files, const std::string& path,
                                         std::uint64_t maxSize = UINT64_MAX);
// Creates or replaces a file with `content`.
bool WriteWholeFile(FileSystem& files, const std::string& path, const std::string& content);

}  // namespace tarn::platform
