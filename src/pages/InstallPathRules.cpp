#include "pages/InstallPathRules.h"

#include <cstdlib>

#include "text/ByteText.h"

namespace tarn::pages {

namespace {

constexpr int kSignificantDigits = 16;

}  // namespace

std::string FormatMegabytes(double megabytes) {
  std::string sign;
  if (megabytes < 0) {
    sign = "-";
    megabytes = -megabytes;
  }
  // Mantissa digits and exponent, rounded to 16 significant digits. The runtime's own digit
  // conversion, not the printf family, which would weigh more than this page.
  int decimalPoint = 0;
  int negative = 0;
#ifdef _WIN32
  std::string digits = _ecvt(megabytes, kSignificantDigits, &decimalPoint, &negative);
#else
  std::string digits = ecvt(megabytes, kSignificantDigits, &decimalPoint, &negative);
#endif
  const int exponent = decimalPoint - 1;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (digits == "0") return sign + "0.";

  // Fixed notation throughout: the exponent form the runtime uses for tiny figures would be
  // cut to a misleading "9.53" below.
  std::string fixed;
  if (exponent >= 0) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() < whole) digits.append(whole - digits.size(), '0');
    fixed = digits.substr(0, whole) + "." + digits.substr(whole);
  } else {
    fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  const std::size_t point = fixed.find('.');
  return sign + fixed.substr(0, point + 3);
}

std::string SoftwareSizeLine(const project::LanguageTable& texts, std::int64_t bytes) {
  const double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
  return texts.GetText(project::LanguageKey::ChangePathSoftSizeDesc1) + " " +
         FormatMegabytes(megabytes) + " MB " +
         texts.GetText(project::LanguageKey::ChangePathSoftSizeDesc2);
}

RelativeFolder SplitStartingPath(std::string_view startingPath, std::string_view programFiles) {
  RelativeFolder result;
  if (startingPath.size() > kMaxStartingPathLength) return result;
  const std::size_t n = programFiles.size();
  // "C:\Program Files2\App" is not in "C:\Program Files": the folder must end where it ends.
  const bool inProgramFiles = n > 0 && startingPath.substr(0, n) == programFiles &&
                              (startingPath.size() == n || startingPath[n] == '\\');
  const std::size_t from = inProgramFiles ? n + 1 : 3;
  result.underProgramFiles = inProgramFiles;
  if (startingPath.size() > from) result.folder = std::string(startingPath.substr(from));
  return result;
}

std::optional<std::string> ComposeInstallPath(std::string_view chosenFolder,
                                              const RelativeFolder& relative,
                                              std::string_view programFiles) {
  if (chosenFolder.empty()) return std::nullopt;
  std::string base(chosenFolder);
  if (chosenFolder.size() < 3 && relative.underProgramFiles && !programFiles.empty()) {
    base = std::string(programFiles);
    base[0] = chosenFolder[0];
  }
  return base + "\\" + relative.folder;
}

bool IsOfferedDrive(std::string_view root, DriveKind kind) {
  if (root.empty()) return false;
  if (kind != DriveKind::Fixed && kind != DriveKind::Removable) return false;
  return text::AsciiUpper(root.substr(0, 1)) != "A";
}

std::string DriveLine(const project::LanguageTable& texts, char letter,
                      std::optional<std::uint64_t> freeBytes) {
  std::string line = texts.GetText(project::LanguageKey::ChangePathFreeSpaceDesc1) + letter +
                     texts.GetText(project::LanguageKey::ChangePathFreeSpaceDesc2);
  if (freeBytes) {
    line += " " + std::to_string(FreeMegabytes(*freeBytes)) + " MB " +
            texts.GetText(project::LanguageKey::ChangePathFreeSpaceDesc3);
  }
  return line;
}

std::vector<std::string> SplitZeroList(std::string_view list) {
  std::vector<std::string> strings;
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = list.find('\0', start);
    const std::size_t stop = end == std::string_view::npos ? list.size() : end;
    if (stop == start) break;
    strings.emplace_back(list.substr(start, stop - start));
    start = stop + 1;
  }
  return strings;
}

}  // namespace tarn::pages
