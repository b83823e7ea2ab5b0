#pragma once
// The small window shown while the package is loaded. The work runs in its first timer tick,
// so that the window is on the screen before the work starts; the user cannot close it.

#include "engine/session/SetupSession.h"
#include "ui/ModalDialog.h"

namespace tarn::app {

class CLoadingDlg : public ui::ModalDialog {
 public:
  explicit CLoadingDlg(engine::SetupSession& session);

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  void OnTimer(UINT_PTR id) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void Load();

  engine::SetupSession& session_;
  ui::Font font_;
};

}  // namespace tarn::app
