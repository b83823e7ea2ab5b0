#pragma once
// The uninstaller's window: the product named in the setup's band style, Uninstall and Close,
// then the status line and progress bar while the removal runs on a thread of its own.

#include <atomic>
#include <memory>
#include <string>

#include "engine/session/PageMetrics.h"
#include "platform/Threads.h"
#include "ui/ModalDialog.h"
#include "uninstall/Uninstallation.h"

namespace tarn::uninstaller {

class UninstallWindow : public ui::ModalDialog, private uninstall::UninstallHost {
 public:
  // `logPixelsY`: the display's vertical density, which the layout follows.
  UninstallWindow(uninstall::Uninstallation& run, std::int32_t logPixelsY,
                  std::string runningProgram);
  ~UninstallWindow() override;

  // The exit status once the window has closed.
  int ExitStatus() const { return status_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override {}
  void OnCancel() override;
  bool OnPaint() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void ShowStatus(const std::string& text) override;
  void ShowProgress(std::int32_t percent) override;
  void Layout();
  // A figure of the window's layout at 120 DPI, in proportion on denser displays.
  int Scaled(int value) const { return engine::ScaleFrom120Dpi(value, logPixelsY_); }
  void Start();
  void Finished(int status);

  uninstall::Uninstallation& run_;
  std::int32_t logPixelsY_;
  engine::PageMetrics metrics_;
  std::string runningProgram_;
  ui::Font normalFont_;
  ui::Font boldFont_;
  HICON icon_ = nullptr;
  platform::Thread worker_;
  std::atomic<bool> running_{false};
  bool done_ = false;
  int status_ = uninstall::kExitNotRemoved;
};

}  // namespace tarn::uninstaller
