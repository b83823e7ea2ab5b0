// ProvideForInstall.exe: the pre-install program of the scenario packages. Setup runs it with
// no arguments and waits for it; exit code 0 ends setup, any other lets it go on.
//
// Exit code: the first argument if there is one, else the environment variable
// TARN_PROVIDE_EXIT (inherited from the setup process), else 1. Before it exits it appends one
// line to a marker file, C:\tarn-provide-ran.txt or the file named by TARN_PROVIDE_MARKER:
// "ran exit=<code> path=<its own path>". TARN_PROVIDE_DELAY_MS makes it wait that long first.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name) {
  char value[512];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// The first argument of the command line, or "" when there is none.
std::string FirstArgument() {
  const char* p = GetCommandLineA();
  if (!p) return {};
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  std::string argument;
  while (*p && *p != ' ' && *p != '\t') argument += *p++;
  return argument;
}

// Decimal text, with an optional sign; anything else falls back.
unsigned long ParseExitCode(const std::string& text, unsigned long fallback) {
  if (text.empty()) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' ? static_cast<unsigned long>(value) : fallback;
}

void AppendMarker(unsigned long code) {
  std::string marker = Environment("TARN_PROVIDE_MARKER");
  if (marker.empty()) marker = "C:\\tarn-provide-ran.txt";
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string line =
      "ran exit=" + std::to_string(code) + " path=" + std::string(self) + "\r\n";
  HANDLE file = CreateFileA(marker.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string source = FirstArgument();
  if (source.empty()) source = Environment("TARN_PROVIDE_EXIT");
  const unsigned long code = ParseExitCode(source, 1);
  const unsigned long delay = ParseExitCode(Environment("TARN_PROVIDE_DELAY_MS"), 0);
  if (delay > 0 && delay <= 60000) Sleep(delay);
  AppendMarker(code);
  return static_cast<int>(code);
}
