#pragma once
// The installation notes.

#include "wizard/DocumentView.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CShowReadme : public CWizardPage {
 public:
  explicit CShowReadme(engine::SetupSession& session);

  // Opens the notes document the task names.
  void SetTask(const project::Task* task) override;

 protected:
  bool OnInitDialog() override;
  void OnDestroy() override { document_.Close(); }

 private:
  CDocumentView document_;
};

}  // namespace tarn::wizard
