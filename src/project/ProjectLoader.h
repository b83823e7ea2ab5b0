#pragma once
// Loading the project document into the model. The document ends with the extraction task
// ("2412"), which for a large product holds one line per packaged file. Its text is kept aside
// unparsed; at load the task lists only the installer's own files (the leading kind-K entries),
// and the install worker fills in the rest later (InstallProject::RebuildExtractionTask).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "project/InstallProject.h"

namespace tarn::project {

// Larger files are refused rather than read: a genuine document with a hundred thousand files
// is about 20 MB. Loading holds the text about three times over (file, main document, extraction
// text) besides the model, which a 32-bit address space must still have room for.
constexpr std::size_t kMaxDocumentSize = 64u * 1024 * 1024;

// Reads the file at `path` and loads it with LoadProjectText. False, with an empty model, when
// the file cannot be read or the document is broken.
bool LoadProject(platform::FileSystem& fileSystem, const std::string& path, std::uint32_t codePage,
                 InstallProject& project);

// Replaces the contents of `project` with the document `text`. The document is broken, and
// the model left empty, when it holds a NUL byte, lacks the start line of the extraction task,
// or the extraction task lacks its folder list or its file list; a document whose model does not
// fit in memory is refused the same way.
bool LoadProjectText(std::string_view text, std::uint32_t codePage, InstallProject& project);

}  // namespace tarn::project
