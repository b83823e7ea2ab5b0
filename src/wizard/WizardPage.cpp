#include "wizard/WizardPage.h"

#include "ui/DenseLayout.h"

namespace tarn::wizard {

CWizardPage::CWizardPage(int templateId, engine::SetupSession& session,
                         std::optional<project::LanguageKey> subject,
                         std::optional<project::LanguageKey> description)
    : ModelessDialog(templateId),
      session_(session),
      subjectKey_(subject),
      descriptionKey_(description) {}

bool CWizardPage::Create(HWND frame) {
  if (subjectKey_) subject_ = Text(*subjectKey_);
  if (descriptionKey_) description_ = Text(*descriptionKey_);
  return ModelessDialog::Create(frame);
}

bool CWizardPage::OnInitDialog() {
  // The frame gives a page the page area below the band, or the whole of it without a band.
  const engine::PageMetrics& m = session_.Metrics;
  ui::LayOutForDensity(Hwnd(), session_.System.system.DisplayLogPixelsY(),
                       SIZE{m.width, HasBand() ? m.height - m.bandHeight : m.height});
  normalFont_ = ui::CopyDialogFont(Hwnd(), FW_NORMAL);
  boldFont_ = ui::CopyDialogFont(Hwnd(), FW_BOLD);
  // The template's font may stop growing before the display does (a face drawn in a few
  // sizes only); there every control gets the normal font, which grows with the display.
  if (ui::IsDenseDisplay(session_.System.system.DisplayLogPixelsY())) {
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont_.Get()), FALSE);
  }
  return true;
}

}  // namespace tarn::wizard
