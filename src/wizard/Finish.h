#pragma once
// The finish page: check boxes built from the finish task (a restart, or programs to open) and
// the optional shortcuts; Finish carries out what stays ticked.

#include <vector>

#include "platform/win32/Win32Toolkit.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CFinish : public CWizardPage {
 public:
  explicit CFinish(engine::SetupSession& session);
  bool Create(HWND frame) override;

  // Bound when the frame enters the page; builds the check boxes.
  void SetFinishTask(const project::Task* task);
  const project::Task* GetFinishTask() const { return task_; }
  bool IsChecked(int id) const { return IsItemChecked(id); }
  // What Finish does: shortcuts and programs, or the restart.
  void FinishActions();
  // The installation is over: nothing to go back to.
  bool CanGoBack() const override { return false; }

 protected:
  void OnDestroy() override;

 private:
  void RemoveCheckBoxes();

  std::vector<platform::OwnedWindow> checkBoxes_;
};

}  // namespace tarn::wizard
