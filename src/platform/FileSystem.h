#pragma once
// Files as the core sees them. Paths are Windows paths as byte strings in the ANSI code page.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarn::platform {

enum class OpenMode {
  Read,    // existing file, read only
  Write,   // created or truncated, write only
  Update,  // existing file, read and write
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
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Null when the file cannot be opened in that mode.
  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
};

// The file system of the machine the program runs on.
std::unique_ptr<FileSystem> MakeSystemFileSystem();

// Reads exactly `size` bytes; false on an error or an early end of file.
bool ReadExactly(File& file, void* buffer, std::size_t size);

}  // namespace tarn::platform
