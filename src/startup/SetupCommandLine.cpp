#include "startup/SetupCommandLine.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

#include "pages/InstallPathCheck.h"
#include "text/ByteText.h"

namespace tarn::startup {

namespace {

// Program folder and log names end up in MAX_PATH buffers with their terminating zero.
constexpr std::size_t kMaxNameLength = 259;
// Enough of a bad option to recognise it in the message, whatever the line's length.
constexpr std::size_t kShownLength = 40;
// What no Windows file name holds, besides the control characters. All of these (and blanks,
// quotes, "/" and ":") lie below 0x40, where no double-byte character has its trail byte, so
// a plain byte scan finds them.
constexpr std::string_view kNotInNames = "*?\"<>|";

enum Option : std::size_t { kSilent, kInstallDir, kProgramFolder, kLog, kOptionCount };
constexpr std::array<std::string_view, kOptionCount> kOptionNames{"S", "D", "GROUP", "LOG"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         text::EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Bytes of the character at `pos`; a lead byte at the very end stands alone.
std::size_t CharLength(std::string_view text, std::size_t pos, std::uint32_t codePage) {
  return text::IsLeadByte(static_cast<unsigned char>(text[pos]), codePage) && pos + 1 < text.size()
             ? 2
             : 1;
}

// A value cut off after a lead byte would swallow the backslash the program appends to it.
bool EndsInsideCharacter(std::string_view text, std::uint32_t codePage) {
  std::size_t pos = 0;
  while (pos + 1 < text.size()) pos += CharLength(text, pos, codePage);
  return pos + 1 == text.size() &&
         text::IsLeadByte(static_cast<unsigned char>(text[pos]), codePage);
}

// `text` made fit for a one-line message: cut between characters, control bytes replaced.
std::string Shown(std::string_view text, std::uint32_t codePage) {
  std::size_t end = 0;
  while (end < text.size() && end + CharLength(text, end, codePage) <= kShownLength) {
    end += CharLength(text, end, codePage);
  }
  std::string shown(text.substr(0, end));
  for (char& c : shown) {
    if (IsControl(c)) c = '?';
  }
  return end < text.size() ? shown + "..." : shown;
}

// "X:\..." or "\\server\share...".
bool IsFullPath(std::string_view path, std::uint32_t codePage) {
  if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return false;
  const std::size_t share = text::FindChar(path, '\\', codePage, 2);
  return share != text::npos && share > 2 && share + 1 < path.size() && path[share + 1] != '\\';
}

// The folder must stay inside the Start menu: every part between backslashes has a name, and
// none is "." or ".." (nor only dots and blanks, which Windows trims to those).
bool HasOnlyNamedFolders(std::string_view folder, std::uint32_t codePage) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text::FindChar(folder, '\\', codePage, start);
    const std::string_view part =
        folder.substr(start, end == text::npos ? text::npos : end - start);
    if (part.find_first_not_of(". ") == std::string_view::npos) return false;
    if (end == text::npos) return true;
    start = end + 1;
  }
}

// What is wrong with the value of `option` (to follow "The value of /X= "), or nothing.
std::string ValueProblem(Option option, std::string_view value, std::uint32_t codePage) {
  const std::size_t limit = option == kInstallDir ? pages::kMaxInstallPathLength : kMaxNameLength;
  if (value.empty()) return "is empty";
  if (value.size() > limit) return "is longer than " + std::to_string(limit) + " bytes";
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool separatorOrDrive =
        option != kLog && (c == '/' || (c == ':' && (option == kProgramFolder || i != 1)));
    if (IsControl(c) || kNotInNames.find(c) != std::string_view::npos || separatorOrDrive) {
      return "contains a character that is not allowed there";
    }
  }
  if (EndsInsideCharacter(value, codePage)) return "ends in the middle of a character";
  if (option == kInstallDir && !IsFullPath(value, codePage)) {
    return "is not a full path such as C:\\Apps\\Tarn Sample";
  }
  if (option == kProgramFolder && !HasOnlyNamedFolders(value, codePage)) {
    return "has an empty, \".\" or \"..\" folder name";
  }
  return {};
}

// Where in the text after "/D=" another option starts (the blank before it), or npos.
std::size_t FindFollowingOption(std::string_view rest) {
  for (std::size_t pos = 0; pos < rest.size(); ++pos) {
    if (!IsBlank(rest[pos])) continue;
    const std::string_view next = rest.substr(pos + 1);
    if (StartsWithNoCase(next, "/D=") || StartsWithNoCase(next, "/GROUP=") ||
        StartsWithNoCase(next, "/LOG=") ||
        (StartsWithNoCase(next, "/S") && (next.size() == 2 || IsBlank(next[2])))) {
      return pos;
    }
  }
  return std::string_view::npos;
}

class Parser {
 public:
  Parser(std::string_view line, std::uint32_t codePage) : line_(line), codePage_(codePage) {}

  ParsedCommandLine Run() {
    std::size_t pos = 0;
    for (;;) {
      while (pos < line_.size() && IsBlank(line_[pos])) ++pos;
      if (pos == line_.size()) break;
      if (StartsWithNoCase(line_.substr(pos), "/D=")) {
        ReadInstallDirToEnd(pos);
        continue;
      }
      std::string token;
      bool quoted = false;
      for (; pos < line_.size() && (quoted || !IsBlank(line_[pos])); ++pos) {
        if (line_[pos] == '"') {
          quoted = !quoted;
        } else {
          token += line_[pos];
        }
      }
      if (quoted) {
        Fail("The command line has an unmatched quote.");
        break;
      }
      Take(token, line_.find_first_not_of(" \t", pos) == std::string_view::npos);
    }
    return std::move(result_);
  }

 private:
  void Fail(std::string message) {
    if (result_.error.empty()) result_.error = std::move(message);
  }

  // "/D=" takes the rest of the line, blanks and all, so a folder needs no quotes; anything
  // that follows would be read as part of the folder, hence it must come last.
  void ReadInstallDirToEnd(std::size_t& pos) {
    std::string_view rest = line_.substr(pos + 3);
    const std::size_t next = FindFollowingOption(rest);
    if (next != std::string_view::npos) {
      seen_[kInstallDir] = true;
      Fail("/D= must be the last option.");
      pos += 3 + next;  // the options after it still count, /S and /LOG= above all
      return;
    }
    pos = line_.size();
    const std::size_t last = rest.find_last_not_of(" \t");
    rest = last == std::string_view::npos ? std::string_view() : rest.substr(0, last + 1);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
      rest = rest.substr(1, rest.size() - 2);
    }
    Store(kInstallDir, rest);
  }

  // One token with its quotes removed; `last` when nothing follows it.
  void Take(std::string_view token, bool last) {
    const std::size_t equals = token.find('=');
    const std::string_view name = token.substr(0, equals);
    std::size_t option = 0;
    while (option < kOptionCount &&
           !(name.size() > 1 && name[0] == '/' &&
             text::EqualsIgnoreAsciiCase(name.substr(1), kOptionNames[option]))) {
      ++option;
    }
    if (option == kOptionCount) {
      Fail("Unknown option \"" + Shown(name.empty() ? token : name, codePage_) + "\".");
    } else if (option == kSilent) {
      if (equals != std::string_view::npos) {
        Fail("The option /S takes no value.");
      } else if (seen_[kSilent]) {
        Fail("The option /S is given twice.");
      } else {
        seen_[kSilent] = result_.options.silent = true;
      }
    } else if (option == kInstallDir && !last) {
      // Quoted as a whole ("/D=C:\Apps"), the folder ends with its token, yet still comes last.
      seen_[kInstallDir] = true;
      Fail("/D= must be the last option.");
    } else {
      Store(static_cast<Option>(option),
            equals == std::string_view::npos ? std::string_view() : token.substr(equals + 1));
    }
  }

  void Store(Option option, std::string_view value) {
    const std::string label = "/" + std::string(kOptionNames[option]) + "=";
    if (seen_[option]) {
      Fail("The option " + label + " is given twice.");
      return;
    }
    seen_[option] = true;
    const std::string problem = ValueProblem(option, value, codePage_);
    if (!problem.empty()) {
      Fail("The value of " + label + " " + problem + ".");
      return;
    }
    SetupOptions& options = result_.options;
    (option == kInstallDir      ? options.installDir
     : option == kProgramFolder ? options.programFolder
                                : options.logPath) = std::string(value);
  }

  std::string_view line_;
  std::uint32_t codePage_;
  std::array<bool, kOptionCount> seen_{};
  ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParseSetupCommandLine(const std::string& arguments, std::uint32_t codePage) {
  return Parser(arguments, codePage).Run();
}

std::string SetupUsageText() {
  // Short lines: a message box wraps long ones wherever its width ends.
  return "Usage: Setup.exe [/S] [/GROUP=name] [/LOG=file] [/D=path]\r\n"
         "/S: install without any window or question\r\n"
         "/GROUP=name: the Start menu program folder\r\n"
         "/LOG=file: write a UTF-8 log of the run to the file\r\n"
         "/D=path: the installation folder; last, blanks need no quotes\r\n"
         "Exit status: 0 installed, 1 not installed, 2 bad command line.";
}

}  // namespace tarn::startup
