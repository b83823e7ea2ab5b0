#include "wizard/InsertMediaDlg.h"

#include <windows.h>

#include <shlobj.h>

#include "package/VolumeLocation.h"
#include "res/resource.h"
#include "ui/DenseLayout.h"

namespace tarn::wizard {

namespace {

int CALLBACK PreselectFolder(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace

CInsertMediaDlg::CInsertMediaDlg(const project::LanguageTable& texts, std::uint32_t codePage,
                                 std::int32_t logPixelsY)
    : ModalDialog(IDD_INSERT_MEDIA), texts_(texts), codePage_(codePage), logPixelsY_(logPixelsY) {}

void CInsertMediaDlg::Setup(const std::string& expectedPath, std::int32_t volume) {
  expectedPath_ = expectedPath;
  volume_ = volume;
}

bool CInsertMediaDlg::OnInitDialog() {
  ui::FitDialogToDensity(Hwnd(), logPixelsY_);
  font_ = ui::CopyDialogFont(Hwnd(), FW_NORMAL);
  ui::ApplyFont(Hwnd(), font_,
                {IDC_MEDIA_LOCATION_LABEL, IDC_MEDIA_LOCATION, IDC_MEDIA_BROWSE, IDC_MEDIA_REQUEST,
                 IDC_MEDIA_OK, IDC_MEDIA_CANCEL});
  resultPath_.clear();
  SetWindowTextA(Hwnd(), texts_.GetText(project::LanguageKey::InsertMediaDesc).c_str());
  SetItemText(IDC_MEDIA_LOCATION_LABEL, texts_.GetText(project::LanguageKey::InsertMediaDesc3));
  SetItemText(IDC_MEDIA_LOCATION, package::MediaLocationOf(expectedPath_, codePage_));
  SetItemText(IDC_MEDIA_BROWSE, texts_.GetText(project::LanguageKey::InsertMediaBrowseDesc));
  SetItemText(IDC_MEDIA_OK, texts_.GetText(project::LanguageKey::SureDesc));
  SetItemText(IDC_MEDIA_CANCEL, texts_.GetText(project::LanguageKey::CancelButtonDesc));
  SetItemText(IDC_MEDIA_REQUEST, texts_.GetText(project::LanguageKey::InsertMediaDesc0) + " " +
                                     texts_.GetText(project::LanguageKey::ProjectName) + " " +
                                     texts_.GetText(project::LanguageKey::InsertMediaDesc1) +
                                     std::to_string(volume_) +
                                     texts_.GetText(project::LanguageKey::InsertMediaDesc2));
  return true;
}

bool CInsertMediaDlg::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return ModalDialog::OnCommand(id, code, control);
  switch (id) {
    case IDC_MEDIA_OK:
      OnOK();
      return true;
    case IDC_MEDIA_CANCEL:
      OnCancel();
      return true;
    case IDC_MEDIA_BROWSE:
      Browse();
      return true;
    default:
      return ModalDialog::OnCommand(id, code, control);
  }
}

void CInsertMediaDlg::OnOK() {
  const std::string location = ItemText(IDC_MEDIA_LOCATION);
  if (location.empty()) {
    FocusItem(IDC_MEDIA_LOCATION);
    return;
  }
  resultPath_ = package::VolumePathIn(location, volume_);
  EndDialog(IDOK);
}

void CInsertMediaDlg::Browse() {
  FocusItem(IDC_MEDIA_LOCATION);
  const std::string title = texts_.GetText(project::LanguageKey::InsertMediaDesc);
  const std::string location = ItemText(IDC_MEDIA_LOCATION);
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = nullptr;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &PreselectFolder;
  info.lParam = reinterpret_cast<LPARAM>(location.c_str());
  LPITEMIDLIST picked = SHBrowseForFolderA(&info);
  if (!picked) return;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(picked, path)) SetItemText(IDC_MEDIA_LOCATION, path);
  CoTaskMemFree(picked);
}

std::optional<std::string> InsertMediaPrompt::AskForVolume(const std::string& expectedPath,
                                                           std::int32_t volume) {
  CInsertMediaDlg dialog(texts_, codePage_, logPixelsY_);
  dialog.Setup(expectedPath, volume);
  dialog.RunModal(nullptr);
  if (dialog.ResultPath().empty()) return std::nullopt;
  return dialog.ResultPath();
}

}  // namespace tarn::wizard
