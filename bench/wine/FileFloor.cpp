// What this machine's file system asks at the least of an installer that keeps every target
// whole, measured apart from the setup program: for COUNT files of 1 KiB in folders of 500,
//   bare:    create, write, close
//   staged:  create a staged name, write, set its times, close, rename it to its target
// Prints one line per way, in milliseconds per file.
//   FileFloor.exe FOLDER COUNT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double PerFile(const std::string& root, int count, bool staged) {
  CreateDirectoryA(root.c_str(), nullptr);
  char data[1024];
  for (char& c : data) c = 'x';
  FILETIME stamp{0x12345678, 0x01d00000};
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::string folder;
  for (int i = 0; i < count; ++i) {
    if (i % 500 == 0) {
      folder = root + "\\d" + std::to_string(i / 500);
      CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string target = folder + "\\s" + std::to_string(i) + ".txt";
    const std::string written = staged ? target + ".new" : target;
    if (staged) GetFileAttributesA(target.c_str());
    HANDLE file = CreateFileA(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD done = 0;
    WriteFile(file, data, sizeof data, &done, nullptr);
    if (staged) SetFileTime(file, &stamp, &stamp, &stamp);
    CloseHandle(file);
    if (staged && !MoveFileExA(written.c_str(), target.c_str(), 0)) return -1;
  }
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart) / count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string root = argv[1];
  const int count = std::atoi(argv[2]);
  if (count <= 0) return 2;
  CreateDirectoryA(root.c_str(), nullptr);
  std::printf("bare %.3f\n", PerFile(root + "\\bare", count, false));
  std::printf("staged %.3f\n", PerFile(root + "\\staged", count, true));
  return 0;
}
