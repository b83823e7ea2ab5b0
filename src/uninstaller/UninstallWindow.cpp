#include "uninstaller/UninstallWindow.h"

#include "ui/DenseLayout.h"
#include "ui/DeviceContext.h"
#include "uninstaller/UninstallerIds.h"

namespace tarn::uninstaller {

namespace {

constexpr UINT kRemovalOver = WM_APP + 1;
constexpr int kTextX = 16;
constexpr int kSubjectY = 16;
constexpr int kDescriptionY = 36;

}  // namespace

UninstallWindow::UninstallWindow(uninstall::Uninstallation& run, std::int32_t logPixelsY,
                                 std::string runningProgram)
    : ModalDialog(IDD_UNINSTALL),
      run_(run),
      logPixelsY_(logPixelsY),
      metrics_(engine::PageMetricsForDpi(logPixelsY)),
      runningProgram_(std::move(runningProgram)) {}

UninstallWindow::~UninstallWindow() {
  worker_.Join();
}

bool UninstallWindow::OnInitDialog() {
  const uninstall::UninstallTexts& texts = run_.Texts();
  SetWindowTextA(Hwnd(), texts.Get("UnInstallWindowTitle").c_str());
  SetItemText(IDC_UN_TITLE, run_.Title());
  SetItemText(IDC_UN_DESC2, texts.Get("UnInstallWindowDesc2"));
  SetItemText(IDC_UN_STATUS, texts.Get("UnInstallReadyDesc"));
  SetItemText(IDC_UN_REMOVE, texts.Get("UnInstallButtonDesc"));
  SetItemText(IDC_UN_CLOSE, texts.Get("CloseButtonDesc"));
  ShowWindow(Item(IDC_UN_PROGRESS), SW_HIDE);
  SendMessageA(Item(IDC_UN_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, 100));

  icon_ = LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_UNINSTALL));
  SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  normalFont_ = ui::CopyDialogFont(Hwnd(), FW_NORMAL);
  boldFont_ = ui::CopyDialogFont(Hwnd(), FW_BOLD);
  ui::ApplyFont(Hwnd(), normalFont_, {IDC_UN_DESC2, IDC_UN_STATUS, IDC_UN_REMOVE, IDC_UN_CLOSE});
  ui::ApplyFont(Hwnd(), boldFont_, {IDC_UN_TITLE});
  // The buttons keep their template size in the page area's proportion.
  ui::FitDialogToDensity(Hwnd(), logPixelsY_);
  Layout();
  SetFocus(Item(IDC_UN_REMOVE));
  return false;
}

void UninstallWindow::Layout() {
  // The page area has the wizard's size in pixels for the display's density; the buttons sit
  // below it at the right, as on the wizard.
  const engine::PageMetrics& m = metrics_;
  RECT button{};
  GetWindowRect(Item(IDC_UN_CLOSE), &button);
  const int buttonWidth = button.right - button.left;
  const int buttonHeight = button.bottom - button.top;
  const int gap = buttonHeight / 2;
  const int clientWidth = m.width;
  const int clientHeight = m.height + 2 + gap + buttonHeight + gap;
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Hwnd(), GWL_EXSTYLE)));
  SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  const int buttonY = m.height + 2 + gap;
  SetWindowPos(Item(IDC_UN_CLOSE), nullptr, clientWidth - gap - buttonWidth, buttonY, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_REMOVE), nullptr, clientWidth - 2 * gap - 2 * buttonWidth, buttonY, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_UPPER_LINE), nullptr, 0, m.bandHeight - 2, clientWidth, 2, SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_LOWER_LINE), nullptr, 0, m.height, clientWidth, 2, SWP_NOZORDER);
  const int left = 2 * Scaled(kTextX);
  const int width = clientWidth - 2 * left;
  const int line = buttonHeight;
  const int top = m.bandHeight + line;
  SetWindowPos(Item(IDC_UN_TITLE), nullptr, left, top, width, line, SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_DESC2), nullptr, left, top + 3 * line / 2, width, 2 * line,
               SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_STATUS), nullptr, left, top + 4 * line, width, line, SWP_NOZORDER);
  SetWindowPos(Item(IDC_UN_PROGRESS), nullptr, left, top + 5 * line + line / 2, width, line,
               SWP_NOZORDER);
}

bool UninstallWindow::OnPaint() {
  ui::PaintScope paint(Hwnd());
  HDC dc = paint.Dc();
  RECT band{0, 0, metrics_.width, metrics_.bandHeight - 2};
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  const uninstall::UninstallTexts& texts = run_.Texts();
  const std::string subject = texts.Get("UnInstallWindowSubject");
  const std::string description = texts.Get("UnInstallWindowDesc");
  const int x = Scaled(kTextX);
  {
    ui::SelectObjectScope bold(dc, boldFont_.Get());
    TextOutA(dc, x, Scaled(kSubjectY), subject.c_str(), static_cast<int>(subject.size()));
  }
  ui::SelectObjectScope normal(dc, normalFont_.Get());
  TextOutA(dc, x, Scaled(kDescriptionY), description.c_str(), static_cast<int>(description.size()));
  return true;
}

bool UninstallWindow::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED && id == IDC_UN_REMOVE) {
    if (IsWindowEnabled(Item(IDC_UN_REMOVE)) && !running_ && !done_) Start();
    return true;
  }
  if (code == BN_CLICKED && id == IDC_UN_CLOSE) {
    OnCancel();
    return true;
  }
  return ModalDialog::OnCommand(id, code, control);
}

void UninstallWindow::OnCancel() {
  // A removal half done is finished first: stopping midway would leave neither state.
  if (running_) return;
  EndDialog(status_);
}

void UninstallWindow::Start() {
  running_ = true;
  EnableItem(IDC_UN_REMOVE, false);
  EnableItem(IDC_UN_CLOSE, false);
  ShowItem(IDC_UN_PROGRESS, true);
  HWND window = Hwnd();
  worker_ = platform::Thread([this, window] {
    const int status = run_.Remove(*this, runningProgram_);
    PostMessageA(window, kRemovalOver, static_cast<WPARAM>(status), 0);
  });
}

void UninstallWindow::Finished(int status) {
  worker_.Join();
  running_ = false;
  done_ = true;
  status_ = status;
  std::string text = run_.Texts().Get("UnInstallComplete");
  if (status == uninstall::kExitRestartCompletes)
    text += " " + run_.Texts().Get("UnInstallRestartDesc");
  SetItemText(IDC_UN_STATUS, text);
  SendItem(IDC_UN_PROGRESS, PBM_SETPOS, 100);
  EnableItem(IDC_UN_CLOSE, true);
  FocusItem(IDC_UN_CLOSE);
}

void UninstallWindow::ShowStatus(const std::string& text) { SetItemText(IDC_UN_STATUS, text); }

void UninstallWindow::ShowProgress(std::int32_t percent) {
  SendItem(IDC_UN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent));
}

INT_PTR UninstallWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  switch (message) {
    case WM_CLOSE:
      OnCancel();
      handled = true;
      return TRUE;
    case kRemovalOver:
      Finished(static_cast<int>(wParam));
      handled = true;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tarn::uninstaller
