#include "tarnpack/ProgressLine.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarnpack {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

namespace {

std::string Mebibytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1 << 20));
  return text;
}

std::string Duration(double seconds) {
  const auto whole = static_cast<unsigned long long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                  whole % 60);
  else
    std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
  return text;
}

}  // namespace

std::string ProgressText(const BuildProgress& p, double seconds) {
  const double rate = seconds > 0 ? static_cast<double>(p.bytesDone) / seconds : 0;
  std::string text = std::to_string(p.filesDone) + "/" + std::to_string(p.files) + " files, ";
  if (p.filesDone == p.files)
    return text + Mebibytes(p.bytes) + " MiB in " + Duration(seconds) + ", " +
           Mebibytes(static_cast<std::uint64_t>(rate)) + " MiB/s";
  text += Mebibytes(p.bytesDone) + "/" + Mebibytes(p.bytes) + " MiB, " +
          Mebibytes(static_cast<std::uint64_t>(rate)) + " MiB/s, ";
  if (rate <= 0) return text + "time left unknown";
  return text + Duration(static_cast<double>(p.bytes - p.bytesDone) / rate) + " left";
}

void ProgressLine::Show(const BuildProgress& progress) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string text = ProgressText(progress, seconds);
  // Blanks over the rest of a longer earlier line: escape sequences do not work on every console.
  const std::size_t pad = width_ > text.size() ? width_ - text.size() : 0;
  std::fprintf(out_, "\r%s%*s", text.c_str(), static_cast<int>(pad), "");
  width_ = text.size();
  open_ = true;
  if (progress.filesDone == progress.files) End();
  std::fflush(out_);
}

void ProgressLine::End() {
  if (!open_) return;
  std::fputc('\n', out_);
  open_ = false;
}

}  // namespace tarnpack
