#include "wizard/SelectProgramFolder.h"

#include <vector>

#include "res/resource.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

}  // namespace

CSelectProgramFolder::CSelectProgramFolder(engine::SetupSession& session)
    : CWizardPage(IDD_PROGRAM_FOLDER, session, LanguageKey::ProgramFolderSubject,
                  LanguageKey::ProgramFolderDesc) {}

bool CSelectProgramFolder::OnInitDialog() {
  CWizardPage::OnInitDialog();
  folderName_.Attach(Hwnd(), IDC_FOLDER_NAME);
  ui::ApplyFont(Hwnd(), normalFont_,
                {IDC_FOLDER_EXPLANATION, IDC_FOLDER_EDIT_CAPTION, IDC_FOLDER_LIST_CAPTION,
                 IDC_FOLDER_LIST, IDC_FOLDER_NAME});
  SetItemText(IDC_FOLDER_EXPLANATION, Text(LanguageKey::ProgramFolderDesc2));
  SetItemText(IDC_FOLDER_EDIT_CAPTION, Text(LanguageKey::ProgramFolderDesc3));
  SetItemText(IDC_FOLDER_LIST_CAPTION, Text(LanguageKey::ProgramFolderDesc4));
  folderName_.SetText(session_.ProgramFolderPath);
  ListExistingFolders();
  return true;
}

void CSelectProgramFolder::ListExistingFolders() {
  const std::string base = session_.Expand("[Start Menu]");
  // Without a Start-menu folder the search would run in the current drive's root.
  if (base.empty()) return;
  platform::FileSystem& files = session_.System.files;
  const auto entries = files.Enumerate(base + "\\*.*");
  if (!entries) return;
  for (const platform::DirectoryEntry& entry : *entries) {
    if (entry.name.empty() || entry.name[0] == '.') continue;
    if (!files.IsDirectory(base + "\\" + entry.name)) continue;
    SendItem(IDC_FOLDER_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
  }
}

void CSelectProgramFolder::Hide() {
  session_.ProgramFolderPath = GetFolderName();
  CWizardPage::Hide();
}

bool CSelectProgramFolder::OnCommand(int id, int code, HWND control) {
  if (id == IDC_FOLDER_LIST && code == LBN_SELCHANGE) {
    const LRESULT index = SendItem(IDC_FOLDER_LIST, LB_GETCURSEL);
    if (index == LB_ERR) return true;
    const LRESULT length = SendItem(IDC_FOLDER_LIST, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return true;
    std::vector<char> item(static_cast<std::size_t>(length) + 1, '\0');
    SendItem(IDC_FOLDER_LIST, LB_GETTEXT, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(item.data()));
    // The member text follows through the edit box's change notification.
    SetWindowTextA(folderName_.Hwnd(), item.data());
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

}  // namespace tarn::wizard
