#pragma once
// The first page: the welcome picture, a light panel and four lines greeting the user.

#include <array>
#include <string>

#include "wizard/WizardPage.h"

namespace tarn::wizard {

class CWelcomePage : public CWizardPage {
 public:
  explicit CWelcomePage(engine::SetupSession& session);

  // Takes the picture's name and creates the page window.
  bool Create(HWND frame) override;
  // Loads the four lines of text.
  void SetTask(const project::Task* task) override;

 protected:
  bool OnInitDialog() override;
  bool OnPaint() override;
  bool OnPrintClient(HDC dc) override;

 private:
  void Paint(HDC dc);

  ui::Font largeBoldFont_;
  std::string picturePath_;
  std::array<std::string, 4> lines_;
  ui::Pen panelPen_;
  ui::Brush panelBrush_;
};

}  // namespace tarn::wizard
