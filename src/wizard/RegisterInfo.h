#pragma once
// The user information page: name and company, written to the registry as the project says.

#include "ui/SyncEdit.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CRegisterInfo : public CWizardPage {
 public:
  explicit CRegisterInfo(engine::SetupSession& session);
  // The captions, from the language texts.
  void SetTask(const project::Task* task) override;
  // Every departure stores the entered texts.
  void Hide() override;
  // Writes the entered texts through the page's EditBox operations.
  void StoreValues();

  const std::string& UserName() const { return name_.Text(); }
  const std::string& Company() const { return company_.Text(); }

 protected:
  bool OnInitDialog() override;

 private:
  ui::CSyncEdit name_;
  ui::CSyncEdit company_;
};

}  // namespace tarn::wizard
