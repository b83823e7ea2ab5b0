#pragma once
// The wizard: a modal dialog with the picture band, the page area and Back / Next / Cancel.
// It walks the project's executable page tasks with the task cursor, starts the installation
// through the progress page and ends with the finish page.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/session/SetupSession.h"
#include "ui/ModalDialog.h"
#include "wizard/PageKind.h"
#include "wizard/PageListener.h"

namespace tarn::wizard {

class CWizardPage;
class CInstallProcess;
class CFinish;

class CWizardFrame : public ui::ModalDialog, private PageListener {
 public:
  explicit CWizardFrame(engine::SetupSession& session);
  ~CWizardFrame() override;

  void SetBand(const std::string& subject, const std::string& description);
  void GoToPage(const project::Task* task);
  PageKind CurrentPageKind() const { return pageKind_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override {}
  void OnCancel() override;
  void OnTimer(UINT_PTR id) override;
  bool OnPaint() override;
  void OnDestroy() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  // A page and the task it shows; the finish page is entered with whichever finish task comes.
  struct Page {
    std::string_view taskId;
    std::unique_ptr<CWizardPage> page;
  };

  void FitPageArea();
  void CreatePages();
  void OnNext();
  void OnBack();
  void EnterFinishPage(const project::Task* task);
  CWizardPage* PageOf(PageKind kind) const;
  CWizardPage* CurrentPage() const;
  // Back and Next as the current page allows.
  void UpdateButtons();
  void PageChanged(const CWizardPage& page) override;

  engine::SetupSession& session_;
  ui::Font normalFont_;
  ui::Font boldFont_;
  bool bandVisible_ = false;
  bool finishShown_ = false;
  std::string bandSubject_;
  std::string bandDescription_;
  std::string topPicture_;

  // The eight pages in creation order; the frame also needs two of them by their own class.
  std::vector<Page> pages_;
  CInstallProcess* progress_ = nullptr;
  CFinish* finish_ = nullptr;

  PageKind pageKind_ = PageKind::None;
  HICON icon_ = nullptr;
};

}  // namespace tarn::wizard
