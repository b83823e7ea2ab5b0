#pragma once
// The dialog that asks for the next volume of a split package, and the volume prompt that
// shows it. It may be shown from the install worker's thread, so it has no owner window.

#include <cstdint>
#include <optional>
#include <string>

#include "package/VolumePrompt.h"
#include "project/LanguageTable.h"
#include "ui/ModalDialog.h"

namespace tarn::wizard {

class CInsertMediaDlg : public ui::ModalDialog {
 public:
  // `logPixelsY`: the display's vertical density, which the layout follows.
  CInsertMediaDlg(const project::LanguageTable& texts, std::uint32_t codePage,
                  std::int32_t logPixelsY);

  void Setup(const std::string& expectedPath, std::int32_t volume);
  // Empty when the user cancelled; otherwise the volume file the user pointed to.
  const std::string& ResultPath() const { return resultPath_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  void Browse();

  const project::LanguageTable& texts_;
  std::uint32_t codePage_;
  std::int32_t logPixelsY_;
  std::string expectedPath_;
  std::int32_t volume_ = 0;
  std::string resultPath_;
  ui::Font font_;
};

class InsertMediaPrompt : public package::VolumePrompt {
 public:
  InsertMediaPrompt(const project::LanguageTable& texts, std::uint32_t codePage,
                    std::int32_t logPixelsY)
      : texts_(texts), codePage_(codePage), logPixelsY_(logPixelsY) {}
  std::optional<std::string> AskForVolume(const std::string& expectedPath,
                                          std::int32_t volume) override;

 private:
  const project::LanguageTable& texts_;
  std::uint32_t codePage_;
  std::int32_t logPixelsY_;
};

}  // namespace tarn::wizard
