#pragma once
// The licence agreement: the document, and the choice between accepting and rejecting it.

#include "wizard/DocumentView.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CReadSoftLicense : public CWizardPage {
 public:
  explicit CReadSoftLicense(engine::SetupSession& session);

  // Takes the radio button texts and opens the licence document the task names.
  void SetTask(const project::Task* task) override;
  // Checks the button of the choice made so far, then shows the page.
  void Show() override;
  // Only once the licence is accepted.
  bool CanGoNext() const override { return session_.LicenceAccepted; }

 protected:
  bool OnInitDialog() override;
  void OnDestroy() override { document_.Close(); }
  bool OnCommand(int id, int code, HWND control) override;

 private:
  CDocumentView document_;
};

}  // namespace tarn::wizard
