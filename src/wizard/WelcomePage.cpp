#include "wizard/WelcomePage.h"

#include "engine/session/PageMetrics.h"
#include "pictures/DrawBitmapFile.h"
#include "res/resource.h"
#include "ui/DenseLayout.h"
#include "ui/DeviceContext.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

constexpr COLORREF kPanelColour = RGB(250, 250, 250);
constexpr COLORREF kTitleColour = RGB(0, 0, 128);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr int kPanelLeft = 163;
// The picture's part of the page: up to the panel, whose edge line it covers.
constexpr int kPictureWidth = kPanelLeft + 1;
// The panel's height above 96 DPI, where the page area is 386 high.
constexpr int kLargePanelBottom = 392;

struct Line {
  int x;
  int y;
};
constexpr Line kLines[4] = {{180, 20}, {180, 50}, {175, 84}, {175, 110}};

}  // namespace

CWelcomePage::CWelcomePage(engine::SetupSession& session) : CWizardPage(IDD_WELCOME, session) {}

bool CWelcomePage::Create(HWND frame) {
  picturePath_ = session_.StampedTempName("[TempFileDir]\\~TarnInstall-WelcomeWndPicture.bmp");
  return CWizardPage::Create(frame);
}

void CWelcomePage::SetTask(const project::Task* task) {
  CWizardPage::SetTask(task);
  lines_ = {Text(LanguageKey::WelcomeWndDesc1) + Text(LanguageKey::ProjectName),
            Text(LanguageKey::WelcomeWndDesc2), Text(LanguageKey::WelcomeWndDesc3),
            Text(LanguageKey::WelcomeWndDesc4)};
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool CWelcomePage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  largeBoldFont_ = ui::CopyDialogFont(Hwnd(), FW_BOLD, 1.2);
  panelPen_ = ui::Pen(CreatePen(PS_SOLID, 1, kPanelColour));
  panelBrush_ = ui::Brush(CreateSolidBrush(kPanelColour));
  return true;
}

bool CWelcomePage::OnPaint() {
  const ui::PaintScope paint(Hwnd());
  Paint(paint.Dc());
  return true;
}

bool CWelcomePage::OnPrintClient(HDC dc) {
  Paint(dc);
  return true;
}

void CWelcomePage::Paint(HDC dc) {
  const std::int32_t dpi = session_.System.system.DisplayLogPixelsY();
  RECT client{};
  GetClientRect(Hwnd(), &client);
  // The figures grow with denser displays, as the page area and the fonts do.
  const auto scaled = [dpi](int value) { return engine::ScaleFrom120Dpi(value, dpi); };
  const int bottom = dpi > 96 ? scaled(kLargePanelBottom) : session_.Metrics.height;
  {
    const ui::SelectObjectScope pen(dc, panelPen_.Get());
    const ui::SelectObjectScope brush(dc, panelBrush_.Get());
    Rectangle(dc, scaled(kPanelLeft), client.top, client.right, bottom);
  }
  if (ui::IsDenseDisplay(dpi))
    pictures::DrawBitmapFileIn(picturePath_, dc, RECT{0, 0, scaled(kPictureWidth), client.bottom},
                               pictures::Scaling::Fill);
  else
    pictures::DrawBitmapFile(picturePath_, dc, 0, 0);

  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = GetTextColor(dc);
  const auto line = [&](std::size_t i) {
    TextOutA(dc, scaled(kLines[i].x), scaled(kLines[i].y), lines_[i].c_str(),
             static_cast<int>(lines_[i].size()));
  };
  {
    const ui::SelectObjectScope font(dc, largeBoldFont_.Get());
    SetTextColor(dc, kTitleColour);
    line(0);
    line(1);
  }
  {
    const ui::SelectObjectScope font(dc, normalFont_.Get());
    SetTextColor(dc, kTextColour);
    line(2);
    line(3);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace tarn::wizard
