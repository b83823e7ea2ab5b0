#pragma once
// `tarnpack init`: a starter project for the files of one folder, ready for `tarnpack build`:
// welcome, licence (when the folder holds a licence file), installation folder, progress and
// finish pages; a program-group shortcut to the product's main program and, through the
// uninstall registration, one to the uninstaller. The standard language file is written beside
// the project unless one is there already.

#include <string>
#include <vector>

namespace tarnpack {

struct StarterOptions {
  std::string folder;  // the product's files
  std::string name;
  std::string version;
  std::string company;
  std::string projectPath = "project.xml";
};

// What a starter project is made of, found in the folder.
struct StarterFacts {
  std::string source;       // the folder as the project names it, relative to the project
  std::string mainProgram;  // relative to the folder with backslashes; "" when it has none
  std::string licence;      // likewise
};

std::string StarterProjectText(const StarterOptions& options, const StarterFacts& facts);

// Writes the project and the language file; `notes` says what was chosen and written.
bool WriteStarterProject(const StarterOptions& options, std::vector<std::string>& notes,
                         std::string& error);

}  // namespace tarnpack
