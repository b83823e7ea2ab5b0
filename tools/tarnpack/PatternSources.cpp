#include "tarnpack/PatternSources.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "tarnpack/AuthorDocument.h"
#include "tarnpack/HostFolders.h"
#include "text/ByteText.h"

namespace tarnpack {

namespace {

using Components = std::vector<std::string>;

// A name as characters: one or two bytes each, ASCII letters upper-cased.
std::vector<std::string> Characters(const std::string& text, std::uint32_t codePage) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n =
        tarn::text::IsLeadByte(static_cast<unsigned char>(text[i]), codePage) && i + 1 < text.size()
            ? 2
            : 1;
    chars.push_back(tarn::text::AsciiUpper(text.substr(i, n)));
    i += n;
  }
  return chars;
}

// Splits at backslashes and slashes that are whole characters.
Components SplitKeepingCase(const std::string& path, std::uint32_t codePage) {
  Components parts(1);
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t n =
        tarn::text::IsLeadByte(static_cast<unsigned char>(path[i]), codePage) && i + 1 < path.size()
            ? 2
            : 1;
    if (n == 1 && (path[i] == '\\' || path[i] == '/'))
      parts.emplace_back();
    else
      parts.back() += path.substr(i, n);
    i += n;
  }
  return parts;
}

std::string Join(const Components& parts, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t i = from; i < to; ++i) out += (i > from ? "\\" : "") + parts[i];
  return out;
}

std::string WithoutFinalBackslash(std::string path, std::uint32_t codePage) {
  while (!path.empty() && tarn::text::FindLastChar(path, '\\', codePage) == path.size() - 1)
    path.pop_back();
  return path;
}

std::string Under(const std::string& folder, const std::string& relative) {
  if (folder.empty()) return relative;
  return relative.empty() ? folder : folder + "\\" + relative;
}

std::size_t Depth(const std::string& folder, std::uint32_t codePage) {
  const std::string path = WithoutFinalBackslash(folder, codePage);
  std::size_t depth = 0;
  for (std::size_t i = tarn::text::FindChar(path, '\\', codePage); i != tarn::text::npos;
       i = tarn::text::FindChar(path, '\\', codePage, i + 1))
    ++depth;
  return depth;
}

// What one pattern line matches, as paths relative to its base folder.
struct Matches {
  std::set<Components> files;
  std::set<Components> folders;  // every folder that must exist below the target
  bool unreadable = false;
};

class Walker {
 public:
  Walker(const Components& pattern, std::uint32_t codePage, Matches& out)
      : pattern_(pattern), codePage_(codePage), out_(out) {}

  void Walk(const std::string& host, const Components& relative, std::size_t index) {
    if (!visited_.insert({host, index}).second) return;
    const auto items = ListFolder(host);
    if (!items) {
      out_.unreadable = true;
      return;
    }
    const std::string& part = pattern_[index];
    const bool last = index + 1 == pattern_.size();
    for (const auto& item : *items) {
      Components child = relative;
      child.push_back(item.name);
      const std::string childHost = host + "/" + item.name;
      if (part == "**") {
        if (item.folder) Walk(childHost, child, index);
        if (last && !item.folder) out_.files.insert(child);
      } else if (MatchesName(part, item.name, codePage_)) {
        if (last && !item.folder) out_.files.insert(child);
        if (!last && item.folder) Walk(childHost, child, index + 1);
      }
    }
    // "**" may also stand for no folder at all.
    if (part == "**" && !last) Walk(host, relative, index + 1);
  }

 private:
  const Components& pattern_;
  std::uint32_t codePage_;
  Matches& out_;
  std::set<std::pair<std::string, std::size_t>> visited_;
};

// Every folder below `host`, empty ones included, for a folder source.
void AddAllFolders(const std::string& host, const Components& relative, Matches& out) {
  const auto items = ListFolder(host);
  if (!items) return;
  for (const auto& item : *items) {
    if (!item.folder) continue;
    Components child = relative;
    child.push_back(item.name);
    out.folders.insert(child);
    AddAllFolders(host + "/" + item.name, child, out);
  }
}

// What in a file's name cannot stand in an entry line (a comma would end the source, "<" the
// line) or in a Windows name; nothing when the name is usable.
std::optional<std::string> UnusableName(const Components& file, std::uint32_t codePage) {
  for (const auto& name : file) {
    for (const char c : std::string(",<>:\"|?*")) {
      if (tarn::text::FindChar(name, c, codePage) != tarn::text::npos)
        return std::string("a \"") + c + "\"";
    }
    for (const char c : name) {
      if (static_cast<unsigned char>(c) < 0x20) return std::string("a control character");
    }
  }
  return std::nullopt;
}

bool IsBareToken(const std::string& folder, std::uint32_t codePage) {
  return !folder.empty() && folder[0] == '[' &&
         tarn::text::FindChar(folder, ']', codePage) == folder.size() - 1;
}

}  // namespace

bool MatchesName(const std::string& pattern, const std::string& name, std::uint32_t codePage) {
  const auto p = Characters(pattern, codePage), n = Characters(name, codePage);
  // Greedy matching with one step back to the last star.
  std::size_t pi = 0, ni = 0, star = std::string::npos, resume = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == "?" || (p[pi] != "*" && p[pi] == n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == "*") {
      star = pi++;
      resume = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == "*") ++pi;
  return pi == p.size();
}

bool IsPatternLine(const std::string& projectFolder, const std::string& source,
                   std::uint32_t codePage) {
  if (HasWildcard(source, codePage)) return true;
  std::string host = HostSourcePath(projectFolder, source, codePage);
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return IsFolder(host);
}

ExpandedSources ExpandSources(const std::vector<std::string>& lines,
                              const std::string& projectFolder, std::uint32_t codePage) {
  ExpandedSources result;
  const ExtractionLists lists = FindExtractionLists(lines);

  struct Line {
    std::size_t index;
    AuthorFileLine value;
    bool pattern;
  };
  std::vector<Line> fileLines;
  std::set<std::string> explicitTargets;
  for (const std::size_t i : lists.fileLines) {
    const auto value = FieldLineValue(lines[i], "File");
    const auto parsed = value ? ParseAuthorFileValue(*value) : std::nullopt;
    if (!parsed) continue;  // the check reports it; the builder refuses it
    const bool pattern = IsPatternLine(projectFolder, parsed->source, codePage);
    fileLines.push_back({i, *parsed, pattern});
    result.hasPatterns = result.hasPatterns || pattern;
    if (!pattern) explicitTargets.insert(tarn::text::AsciiUpper(parsed->target));
  }
  result.lines = lines;
  if (!result.hasPatterns) return result;

  std::map<std::string, std::size_t> producedBy;  // upper-cased target -> author line
  std::map<std::size_t, std::vector<std::string>> replacement;
  std::vector<std::string> newFolders;
  for (const auto& line : fileLines) {
    if (!line.pattern) continue;
    const AuthorFileLine& e = line.value;
    if (e.kind == 'U') {
      result.problems.push_back(
          {line.index,
           "a folder or pattern cannot stand for the uninstaller (kind U), which is "
           "one file"});
      continue;
    }
    const Components parts = SplitKeepingCase(e.source, codePage);
    std::size_t base = 0;
    while (base < parts.size() && !HasWildcard(parts[base], codePage)) ++base;
    const bool folderSource = base == parts.size();
    Components pattern(parts.begin() + static_cast<std::ptrdiff_t>(base), parts.end());
    Components baseParts(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(base));
    while (folderSource && baseParts.size() > 1 && baseParts.back().empty()) baseParts.pop_back();
    if (folderSource) pattern = {"**"};
    const std::string baseSource = Join(baseParts, 0, baseParts.size());
    std::string baseHost = HostSourcePath(projectFolder, baseSource, codePage);
    if (baseSource.empty()) baseHost = projectFolder.empty() ? "." : projectFolder;

    if (!IsFolder(baseHost)) {
      result.problems.push_back({line.index, "the pattern " + e.source +
                                                 " matches no file: there is no folder " +
                                                 (baseSource.empty() ? "." : baseSource)});
      continue;
    }
    Matches matches;
    Walker(pattern, codePage, matches).Walk(baseHost, {}, 0);
    if (folderSource) AddAllFolders(baseHost, {}, matches);
    if (matches.unreadable) {
      // A folder left out silently would be a product installed without part of its files.
      result.problems.push_back(
          {line.index, "the source " + e.source + " has a folder that cannot be read"});
      continue;
    }
    if (matches.files.empty()) {
      result.problems.push_back(
          {line.index, std::string(folderSource ? "the folder " : "the pattern ") + e.source +
                           (folderSource ? " holds no file" : " matches no file")});
      continue;
    }
    const std::string targetFolder = WithoutFinalBackslash(e.target, codePage);
    for (const auto& file : matches.files) {
      for (std::size_t n = 1; n < file.size(); ++n)
        matches.folders.insert(
            Components(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)));
    }
    if (!IsBareToken(targetFolder, codePage)) newFolders.push_back(targetFolder);
    for (const auto& folder : matches.folders)
      newFolders.push_back(Under(targetFolder, Join(folder, 0, folder.size())));

    auto& out = replacement[line.index];
    for (const auto& file : matches.files) {
      AuthorFileLine entry = e;
      entry.target = Under(targetFolder, Join(file, 0, file.size()));
      entry.source = Under(baseSource, Join(file, 0, file.size()));
      const std::string key = tarn::text::AsciiUpper(entry.target);
      if (explicitTargets.count(key)) continue;
      if (const auto bad = UnusableName(file, codePage)) {
        result.problems.push_back({line.index, "the file " + entry.source + " holds " + *bad +
                                                   ", which no pattern can pack: give it a "
                                                   "line of its own"});
        continue;
      }
      const auto [at, fresh] = producedBy.insert({key, line.index});
      if (!fresh) {
        result.problems.push_back({line.index, "the target " + entry.target + " comes from line " +
                                                   std::to_string(at->second + 1) + " as well"});
        continue;
      }
      out.push_back("<File>" + AuthorFileValue(entry) + "</File>");
      result.produced.push_back({line.index, entry.target});
    }
  }

  // The folder list: the author's folders and the new ones once each, deepest first; the sort
  // is stable, so folders of one depth keep their order.
  std::vector<std::string> folders;
  std::set<std::string> seen;
  for (const std::size_t i : lists.folderLines) {
    const auto value = FieldLineValue(lines[i], "Folder");
    if (value && seen.insert(tarn::text::AsciiUpper(*value)).second) folders.push_back(*value);
  }
  for (const auto& folder : newFolders) {
    if (seen.insert(tarn::text::AsciiUpper(folder)).second) folders.push_back(folder);
  }
  std::stable_sort(folders.begin(), folders.end(), [codePage](const auto& a, const auto& b) {
    return Depth(a, codePage) > Depth(b, codePage);
  });
  if (!lists.folderListStart) {
    result.problems.push_back(
        {lists.fileListStart.value_or(0),
         "task 2412 has no FolderList subtask for the folders the patterns create"});
    return result;
  }

  std::vector<std::string> out;
  const std::set<std::size_t> oldFolders(lists.folderLines.begin(), lists.folderLines.end());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (oldFolders.count(i)) continue;
    const auto r = replacement.find(i);
    if (r != replacement.end()) {
      out.insert(out.end(), r->second.begin(), r->second.end());
    } else {
      bool pattern = false;
      for (const auto& l : fileLines) pattern = pattern || (l.index == i && l.pattern);
      if (!pattern) out.push_back(lines[i]);
    }
    if (i == *lists.folderListStart) {
      for (const auto& folder : folders) out.push_back("<Folder>" + folder + "</Folder>");
    }
  }
  result.lines = std::move(out);
  return result;
}

}  // namespace tarnpack
