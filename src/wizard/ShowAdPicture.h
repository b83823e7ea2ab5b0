#pragma once
// The advertisement splash: shows one picture, centred on the screen at the picture's size, for
// five seconds; the user cannot close it earlier.

#include <windows.h>

#include <string>

#include "ui/ModalDialog.h"

namespace tarn::wizard {

class CShowAdPicture : public ui::ModalDialog {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kShowMilliseconds = 5000;

  CShowAdPicture();

  void SetPicture(const std::string& path) { picture_ = path; }
  // The display's vertical density: above 120 pixels per inch the picture grows with it.
  void SetDensity(int logPixelsY) { logPixelsY_ = logPixelsY; }
  // True once the five seconds are over.
  bool CloseAllowed() const { return closeAllowed_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  bool OnPaint() override;
  void OnTimer(UINT_PTR id) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  std::string picture_;
  int logPixelsY_ = 96;
  bool closeAllowed_ = false;
};

}  // namespace tarn::wizard
