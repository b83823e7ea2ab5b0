#include "wizard/SelectProgramFolder.h"

#include "res/resource.h"

namespace tarn::wizard {

CSelectProgramFolder::CSelectProgramFolder(engine::SetupSession& session)
    : CWizardPage(IDD_PROGRAM_FOLDER, session, project::LanguageKey::ProgramFolderSubject,
                  project::LanguageKey::ProgramFolderDesc) {}

std::string CSelectProgramFolder::GetFolderName() const { return session_.ProgramFolderPath; }

}  // namespace tarn::wizard
