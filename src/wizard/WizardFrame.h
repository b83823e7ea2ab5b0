#pragma once
// The wizard: a modal dialog with the picture band, the page area and Back / Next / Cancel.
// It walks the project's executable page tasks with the task cursor, starts the installation
// through the progress page and ends with the finish page.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "engine/session/SetupSession.h"
#include "ui/ModalDialog.h"

namespace tarn::wizard {

class CWelcomePage;
class CReadSoftLicense;
class CShowReadme;
class CRegisterInfo;
class CChangeInstallPath;
class CSelectProgramFolder;
class CInstallProcess;
class CFinish;
class CWizardPage;

// The page a task shows: its ID's position in the task table.
enum class PageKind : std::int32_t {
  Welcome = 1,
  Licence = 2,
  Readme = 3,
  UserInfo = 4,
  ProgramFolder = 5,
  InstallPath = 6,
  Progress = 7,
  FinishRestart = 8,
  FinishPrograms = 9,
  None = 22,
};

class CWizardFrame : public ui::ModalDialog {
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
  void FitPageArea();
  void CreatePages();
  void OnNext();
  void OnBack();
  void EnterFinishPage(const project::Task* task);
  CWizardPage* PageOf(PageKind kind) const;

  engine::SetupSession& session_;
  ui::Font normalFont_;
  ui::Font boldFont_;
  bool bandVisible_ = false;
  bool finishShown_ = false;
  std::string bandSubject_;
  std::string bandDescription_;
  std::string topPicture_;

  std::unique_ptr<CWelcomePage> welcome_;
  std::unique_ptr<CReadSoftLicense> licence_;
  std::unique_ptr<CShowReadme> readme_;
  std::unique_ptr<CRegisterInfo> userInfo_;
  std::unique_ptr<CChangeInstallPath> installPath_;
  std::unique_ptr<CSelectProgramFolder> programFolder_;
  std::unique_ptr<CInstallProcess> progress_;
  std::unique_ptr<CFinish> finish_;

  PageKind pageKind_ = PageKind::None;
  HICON icon_ = nullptr;
};

// The kind of page a task shows; PageKind::None for a task that is no page.
PageKind PageKindOf(const project::Task* task);

}  // namespace tarn::wizard
