#include "wizard/WizardFrame.h"

#include <algorithm>

#include "engine/session/LoggingHost.h"
#include "pictures/DrawBitmapFile.h"
#include "project/TaskIds.h"
#include "res/resource.h"
#include "ui/DenseLayout.h"
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
  ui::FitDialogToDensity(Hwnd(), session_.System.system.DisplayLogPixelsY());
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
  auto progress = std::make_unique<CInstallProcess>(session_);
  auto finish = std::make_unique<CFinish>(session_);
  progress_ = progress.get();
  finish_ = finish.get();
  pages_.clear();
  pages_.push_back({project::task::WelcomePage, std::make_unique<CWelcomePage>(session_)});
  pages_.push_back({project::task::LicencePage, std::make_unique<CReadSoftLicense>(session_)});
  pages_.push_back({project::task::ReadmePage, std::make_unique<CShowReadme>(session_)});
  pages_.push_back({project::task::UserInfoPage, std::make_unique<CRegisterInfo>(session_)});
  pages_.push_back(
      {project::task::InstallPathPage, std::make_unique<CChangeInstallPath>(session_)});
  pages_.push_back(
      {project::task::ProgramFolderPage, std::make_unique<CSelectProgramFolder>(session_)});
  pages_.push_back({project::task::ProgressPage, std::move(progress)});
  pages_.push_back({{}, std::move(finish)});

  const engine::PageMetrics& m = session_.Metrics;
  for (const Page& p : pages_) {
    CWizardPage& page = *p.page;
    page.Create(Hwnd());
    page.SetListener(this);
    if (!p.taskId.empty()) page.SetTask(session_.Project.FindTask(p.taskId));
    if (page.HasBand())
      SetWindowPos(page.Hwnd(), nullptr, 0, m.bandHeight, m.width, m.height - m.bandHeight,
                   SWP_NOZORDER);
    else
      SetWindowPos(page.Hwnd(), nullptr, 0, 0, m.width, m.height, SWP_NOZORDER);
  }
  pageKind_ = PageKind::None;
  GoToPage(session_.Project.Cursor().Current());
}

CWizardPage* CWizardFrame::PageOf(PageKind kind) const {
  for (const Page& p : pages_) {
    if (!p.taskId.empty() && PageKindOf(p.taskId) == kind) return p.page.get();
  }
  return nullptr;
}

CWizardPage* CWizardFrame::CurrentPage() const {
  return finishShown_ ? finish_ : PageOf(pageKind_);
}

void CWizardFrame::UpdateButtons() {
  const CWizardPage* page = CurrentPage();
  EnableItem(IDC_NEXT, !page || page->CanGoNext());
  EnableItem(IDC_BACK, !page || page->CanGoBack());
}

void CWizardFrame::PageChanged(const CWizardPage& page) {
  if (&page == CurrentPage()) UpdateButtons();
}

void CWizardFrame::GoToPage(const project::Task* task) {
  const PageKind next = PageKindOf(task);
  CWizardPage* leaving = PageOf(pageKind_);
  if (leaving && !leaving->Leave(next)) {
    session_.Project.Cursor().Previous();
    return;
  }
  bandVisible_ = true;
  if (leaving) leaving->Hide();

  pageKind_ = next;
  UpdateButtons();
  CWizardPage* page = PageOf(next);
  if (!page) {
    InvalidateRect(Hwnd(), nullptr, TRUE);
    return;
  }
  // A page without a band covers it and leaves the band texts as they were.
  if (page->HasBand())
    SetBand(page->GetSubject(), page->GetDescription());
  else
    bandVisible_ = false;
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
  UpdateButtons();
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
  for (const Page& p : pages_) p.page->Destroy();
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
  const engine::PageMetrics& m = session_.Metrics;
  const std::int32_t dpi = session_.System.system.DisplayLogPixelsY();
  if (ui::IsDenseDisplay(dpi))
    pictures::DrawBitmapFileIn(topPicture_, dc, RECT{0, 0, m.width, m.bandHeight},
                               pictures::Scaling::Fill);
  else
    pictures::DrawBitmapFile(topPicture_, dc, 0, 0);
  // The band's texts keep apart as their fonts grow.
  const int x = engine::ScaleFrom120Dpi(kSubjectX, dpi);
  {
    ui::SelectObjectScope bold(dc, boldFont_.Get());
    TextOutA(dc, x, engine::ScaleFrom120Dpi(kSubjectY, dpi), bandSubject_.c_str(),
             static_cast<int>(bandSubject_.size()));
  }
  ui::SelectObjectScope normal(dc, normalFont_.Get());
  TextOutA(dc, x, engine::ScaleFrom120Dpi(kDescriptionY, dpi), bandDescription_.c_str(),
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
