#include "wizard/WizardFrame.h"

#include <algorithm>

#include "engine/session/LoggingHost.h"
#include "pages/InstallPathCheck.h"
#include "pictures/DrawBitmapFile.h"
#include "project/NameTables.h"
#include "project/TaskIds.h"
#include "res/resource.h"
#include "ui/DeviceContext.h"
#include "wizard/ChangeInstallPath.h"
#include "wizard/Finish.h"
#include "wizard/InstallProcess.h"
#include "wizard/ReadSoftLicense.h"
#include "wizard/RegisterInfo.h"
#include "wizard/SelectProgramFolder.h"
#include "wizard/ShowReadme.h"
#include "wizard/WelcomePage.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

constexpr int kSubjectX = 16;
constexpr int kSubjectY = 16;
constexpr int kDescriptionY = 36;

}  // namespace

PageKind PageKindOf(const project::Task* task) {
  if (!task) return PageKind::None;
  // Kinds outside the page range name no page; they still step like any other task.
  return static_cast<PageKind>(project::TaskIndexOf(task->Id()));
}

CWizardFrame::CWizardFrame(engine::SetupSession& session)
    : ModalDialog(IDD_WIZARD), session_(session) {}

CWizardFrame::~CWizardFrame() {
  // The worker talks to the progress page until its very last call.
  if (progress_) progress_->JoinWorker();
}

bool CWizardFrame::OnInitDialog() {
  const project::LanguageTable& texts = session_.Language;
  SetWindowTextA(
      Hwnd(),
      (texts.GetText(LanguageKey::ProjectName) + texts.GetText(LanguageKey::InstallDesc)).c_str());
  topPicture_ = session_.StampedTempName("[TempFileDir]\\~TarnInstall-TopFramePicture.bmp");
  FitPageArea();
  CreatePages();
  SetItemText(IDC_BACK, texts.GetText(LanguageKey::BackButtonDesc));
  SetItemText(IDC_NEXT, texts.GetText(LanguageKey::NextButtonDesc));
  SetItemText(IDCANCEL, texts.GetText(LanguageKey::CancelButtonDesc));

  icon_ = LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_SETUP));
  SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  normalFont_ = ui::CopyDialogFont(Hwnd(), FW_NORMAL);
  boldFont_ = ui::CopyDialogFont(Hwnd(), FW_BOLD);
  ui::ApplyFont(Hwnd(), normalFont_, {IDC_BACK, IDC_NEXT, IDCANCEL});
  // Next is the button a person presses most; Back comes first in the template.
  if (!IsWindowEnabled(Item(IDC_NEXT))) return true;
  SetFocus(Item(IDC_NEXT));
  return false;
}

void CWizardFrame::FitPageArea() {
  // The page area's size is fixed in pixels by display density while the template's size
  // follows the dialog font, and the two part on dense displays: the frame grows (buttons
  // moved along) so that no page is clipped, and the separators frame the page area.
  const engine::PageMetrics& m = session_.Metrics;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  RECT lowerLine{};
  GetWindowRect(Item(IDC_LOWER_LINE), &lowerLine);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&lowerLine), 2);
  const int growX = std::max(0, static_cast<int>(m.width - client.right));
  const int growY = std::max(0, static_cast<int>(m.height - lowerLine.top));
  if (growX > 0 || growY > 0) {
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left + growX,
                 window.bottom - window.top + growY, SWP_NOMOVE | SWP_NOZORDER);
    for (int id : {IDC_BACK, IDC_NEXT, IDCANCEL}) {
      RECT button{};
      GetWindowRect(Item(id), &button);
      MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&button), 2);
      SetWindowPos(Item(id), nullptr, button.left + growX, button.top + growY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    }
    GetClientRect(Hwnd(), &client);
  }
  SetWindowPos(Item(IDC_UPPER_LINE), nullptr, 0, m.bandHeight - 2, client.right, 2, SWP_NOZORDER);
  SetWindowPos(Item(IDC_LOWER_LINE), nullptr, 0, m.height, client.right, 2, SWP_NOZORDER);
}

void CWizardFrame::CreatePages() {
  finishShown_ = false;
  session_.LicenceAccepted = false;
  welcome_ = std::make_unique<CWelcomePage>(session_);
  licence_ = std::make_unique<CReadSoftLicense>(session_);
  readme_ = std::make_unique<CShowReadme>(session_);
  userInfo_ = std::make_unique<CRegisterInfo>(session_);
  installPath_ = std::make_unique<CChangeInstallPath>(session_);
  programFolder_ = std::make_unique<CSelectProgramFolder>(session_);
  progress_ = std::make_unique<CInstallProcess>(session_);
  finish_ = std::make_unique<CFinish>(session_);

  const project::InstallProject& project = session_.Project;
  const struct {
    CWizardPage* page;
    std::string_view taskId;
  } pages[] = {{welcome_.get(), project::task::WelcomePage},
               {licence_.get(), project::task::LicencePage},
               {readme_.get(), project::task::ReadmePage},
               {userInfo_.get(), project::task::UserInfoPage},
               {installPath_.get(), project::task::InstallPathPage},
               {programFolder_.get(), project::task::ProgramFolderPage},
               {progress_.get(), project::task::ProgressPage},
               {finish_.get(), {}}};
  const engine::PageMetrics& m = session_.Metrics;
  for (const auto& p : pages) {
    p.page->Create(Hwnd());
    if (!p.taskId.empty()) p.page->SetTask(project.FindTask(p.taskId));
    if (p.page == welcome_.get())
      SetWindowPos(p.page->Hwnd(), nullptr, 0, 0, m.width, m.height, SWP_NOZORDER);
    else
      SetWindowPos(p.page->Hwnd(), nullptr, 0, m.bandHeight, m.width, m.height - m.bandHeight,
                   SWP_NOZORDER);
  }
  pageKind_ = PageKind::None;
  GoToPage(session_.Project.Cursor().Current());
}

CWizardPage* CWizardFrame::PageOf(PageKind kind) const {
  switch (kind) {
    case PageKind::Welcome:
      return welcome_.get();
    case PageKind::Licence:
      return licence_.get();
    case PageKind::Readme:
      return readme_.get();
    case PageKind::UserInfo:
      return userInfo_.get();
    case PageKind::ProgramFolder:
      return programFolder_.get();
    case PageKind::InstallPath:
      return installPath_.get();
    case PageKind::Progress:
      return progress_.get();
    default:
      return nullptr;
  }
}

void CWizardFrame::GoToPage(const project::Task* task) {
  const PageKind next = PageKindOf(task);
  if (pageKind_ == PageKind::InstallPath && next == PageKind::Progress) {
    if (!pages::AcceptInstallPath(session_, installPath_->GetPath())) {
      session_.Project.Cursor().Previous();
      return;
    }
  }
  EnableItem(IDC_NEXT, true);
  bandVisible_ = true;

  switch (pageKind_) {
    case PageKind::UserInfo:
      userInfo_->Hide();
      userInfo_->StoreValues();
      break;
    case PageKind::ProgramFolder:
      session_.ProgramFolderPath = programFolder_->GetFolderName();
      programFolder_->Hide();
      break;
    default:
      if (CWizardPage* page = PageOf(pageKind_)) page->Hide();
      break;
  }

  pageKind_ = next;
  CWizardPage* page = PageOf(next);
  if (!page) {
    InvalidateRect(Hwnd(), nullptr, TRUE);
    return;
  }
  if (next == PageKind::Welcome) {
    bandVisible_ = false;
    page->Show();
    return;
  }
  SetBand(page->GetSubject(), page->GetDescription());
  if (next == PageKind::Licence && !session_.LicenceAccepted) EnableItem(IDC_NEXT, false);
  if (next == PageKind::Progress) {
    EnableItem(IDC_BACK, false);
    EnableItem(IDC_NEXT, false);
  }
  page->Show();
}

void CWizardFrame::SetBand(const std::string& subject, const std::string& description) {
  bandSubject_ = subject;
  bandDescription_ = description;
  RECT band{0, 0, session_.Metrics.width, session_.Metrics.bandHeight};
  InvalidateRect(Hwnd(), &band, TRUE);
  UpdateWindow(Hwnd());
}

bool CWizardFrame::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED && id == IDC_NEXT) {
    OnNext();
    return true;
  }
  if (code == BN_CLICKED && id == IDC_BACK) {
    OnBack();
    return true;
  }
  return ModalDialog::OnCommand(id, code, control);
}

void CWizardFrame::OnNext() {
  if (finishShown_) {
    finish_->FinishActions();
    SetTimer(Hwnd(), kCloseTimer, 100, nullptr);
    return;
  }
  const project::Task* task = session_.Project.Cursor().Next();
  if (task && session_.ExtractionOver) {
    EnterFinishPage(task);
  } else if (task) {
    GoToPage(task);
  } else if (pageKind_ == PageKind::Progress) {
    // The installation was the last page: nothing more to show.
    ShowWindow(Hwnd(), SW_HIDE);
    SetTimer(Hwnd(), kCloseTimer, 100, nullptr);
  }
}

void CWizardFrame::EnterFinishPage(const project::Task* task) {
  finishShown_ = true;
  progress_->Hide();
  SetBand(finish_->GetSubject(), finish_->GetDescription());
  finish_->SetFinishTask(task);
  finish_->Show();
  pageKind_ = PageKind::FinishPrograms;
  EnableItem(IDCANCEL, false);
  EnableItem(IDC_NEXT, true);
  SetItemText(IDC_NEXT, session_.Language.GetText(LanguageKey::CompleteButtonDesc));
}

void CWizardFrame::OnBack() {
  if (const project::Task* task = session_.Project.Cursor().Previous()) GoToPage(task);
}

void CWizardFrame::OnCancel() {
  if (pageKind_ == PageKind::Progress) {
    session_.CancelRequested = true;
    return;
  }
  // The finish page disables Cancel; Escape and the close box still ask there.
  const project::LanguageTable& texts = session_.Language;
  const std::string& text = texts.GetText(LanguageKey::ExitInstallMessage);
  const std::string& caption = texts.GetText(LanguageKey::ExitInstallTitle);
  const bool yes = MessageBoxA(Hwnd(), text.c_str(), caption.c_str(),
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  engine::LogAnswer(session_.Log, caption, text, yes);
  if (yes) SetTimer(Hwnd(), kCloseTimer, 100, nullptr);
}

void CWizardFrame::OnTimer(UINT_PTR id) {
  if (id == kCompletedTimer) {
    KillTimer(Hwnd(), kCompletedTimer);
    OnNext();
  } else if (id == kCloseTimer) {
    KillTimer(Hwnd(), kCloseTimer);
    EndDialog(IDOK);
  }
}

void CWizardFrame::OnDestroy() {
  for (CWizardPage* page :
       {static_cast<CWizardPage*>(welcome_.get()), static_cast<CWizardPage*>(licence_.get()),
        static_cast<CWizardPage*>(readme_.get()), static_cast<CWizardPage*>(userInfo_.get()),
        static_cast<CWizardPage*>(installPath_.get()),
        static_cast<CWizardPage*>(programFolder_.get()), static_cast<CWizardPage*>(progress_.get()),
        static_cast<CWizardPage*>(finish_.get())}) {
    if (page) page->Destroy();
  }
}

bool CWizardFrame::OnPaint() {
  ui::PaintScope paint(Hwnd());
  HDC dc = paint.Dc();
  if (IsIconic(Hwnd())) {
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, icon_);
    return true;
  }
  if (!bandVisible_) return true;
  SetBkMode(dc, TRANSPARENT);
  pictures::DrawBitmapFile(topPicture_, dc, 0, 0);
  {
    ui::SelectObjectScope bold(dc, boldFont_.Get());
    TextOutA(dc, kSubjectX, kSubjectY, bandSubject_.c_str(), static_cast<int>(bandSubject_.size()));
  }
  ui::SelectObjectScope normal(dc, normalFont_.Get());
  TextOutA(dc, kSubjectX, kDescriptionY, bandDescription_.c_str(),
           static_cast<int>(bandDescription_.size()));
  return true;
}

INT_PTR CWizardFrame::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  switch (message) {
    case WM_CLOSE:
      // The close box asks like Escape, even on the finish page whose Cancel is disabled.
      OnCancel();
      handled = true;
      return TRUE;
    case WM_QUERYDRAGICON:
      handled = true;
      return reinterpret_cast<INT_PTR>(icon_);
    case kStartTimerMessage:
      SetTimer(Hwnd(), static_cast<UINT_PTR>(wParam), 100, nullptr);
      handled = true;
      return TRUE;
    default:
      return 0;
  }
}

}  // namespace tarn::wizard
