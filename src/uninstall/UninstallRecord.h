#pragma once
// Reading the uninstall record: the project document the setup copied into the installation
// folder, accepted only when it is the very one whose hash the setup stored. The session then
// holds the record's project and this machine's folders as the installation saw them.

#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::uninstall {

enum class RecordProblem {
  None,
  Missing,        // the file cannot be read
  Unparsable,     // not a project document, or one without the product's properties
  NotRegistered,  // the product's keys hold no hash of a record
  Changed,        // the file is not the one the setup wrote
};

// Loads the record at `recordPath` into the session: its project, the installation folder
// ("Path"), the program group ("ProgramFolder") and the Quick Launch folders.
RecordProblem LoadRecord(engine::SetupSession& s, const std::string& recordPath);

const char* DescribeRecordProblem(RecordProblem problem);

// The title the setup showed and registered the product under: name, a blank, version.
std::string ProductTitle(const engine::SetupSession& s);

}  // namespace tarn::uninstall
