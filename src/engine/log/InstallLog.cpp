#include "engine/log/InstallLog.h"

#include "platform/TextEncoding.h"
#include "text/Digits.h"

namespace tarn::engine {

namespace {

std::string TimeStamp(const platform::SystemTime& t) {
  using text::ZeroPadded;
  return ZeroPadded(t.year, 4) + "-" + ZeroPadded(t.month, 2) + "-" + ZeroPadded(t.day, 2) + " " +
         ZeroPadded(t.hour, 2) + ":" + ZeroPadded(t.minute, 2) + ":" + ZeroPadded(t.second, 2) +
         "." + ZeroPadded(t.milliseconds, 3) + " ";
}

}  // namespace

bool InstallLog::Open(platform::FileSystem& files, platform::Clock& clock, const std::string& path,
                      std::uint32_t codePage) {
  auto file = files.Open(path, platform::OpenMode::Log);
  if (!file) return false;
  const std::lock_guard<platform::Mutex> lock(mutex_);
  file_ = std::move(file);
  clock_ = &clock;
  codePage_ = codePage;
  return true;
}

bool InstallLog::IsOpen() const {
  const std::lock_guard<platform::Mutex> lock(mutex_);
  return file_ != nullptr;
}

void InstallLog::Line(const std::string& text) {
  const std::lock_guard<platform::Mutex> lock(mutex_);
  if (!file_) return;
  const std::string stamp = TimeStamp(clock_->LocalTime());
  std::string lines;
  std::size_t start = 0;
  do {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines += stamp +
             platform::AnsiToUtf8(std::string_view(text).substr(start, end - start), codePage_) +
             "\r\n";
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  } while (start < text.size());
  // One write per call: lines of two threads never interleave within a line.
  file_->Write(lines.data(), lines.size());
}

}  // namespace tarn::engine
