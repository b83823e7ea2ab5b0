#include "wizard/ChangeInstallPath.h"

#include <algorithm>

#include "pages/InstallPathCheck.h"
#include "project/TaskIds.h"
#include "res/resource.h"
#include "text/ByteText.h"
#include "ui/DeviceContext.h"

namespace tarn::wizard {

namespace {

using project::LanguageKey;

// The drive roots the system reports ("C:\", "D:\", ...), however many there are.
std::vector<std::string> LogicalDriveRoots() {
  std::vector<char> buffer(128, '\0');
  for (;;) {
    const DWORD needed = GetLogicalDriveStringsA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (needed == 0) return {};
    if (needed < buffer.size()) return pages::SplitZeroList({buffer.data(), needed});
    buffer.assign(static_cast<std::size_t>(needed) + 1, '\0');
  }
}

std::string DriveLetterOf(const std::string& path) {
  return path.empty() ? std::string() : text::AsciiUpper(path.substr(0, 1));
}

}  // namespace

CChangeInstallPath::CChangeInstallPath(engine::SetupSession& session)
    : CWizardPage(IDD_INSTALL_PATH, session, LanguageKey::ChangePathSubject,
                  LanguageKey::ChangePathDesc),
      tree_(session.CodePage) {}

bool CChangeInstallPath::OnInitDialog() {
  CWizardPage::OnInitDialog();
  path_.Attach(Hwnd(), IDC_PATH);
  ui::ApplyFont(Hwnd(), normalFont_,
                {IDC_PATH_DESCRIPTION, IDC_PATH, IDC_DRIVE_LIST, IDC_SIZE_LINE});

  startingPath_ = session_.InstallDir;
  path_.SetText(startingPath_);
  relative_ = pages::SplitStartingPath(startingPath_, session_.Expand("[Program Files]"));
  // A starting path too long to keep leaves only its drive, which the page then offers.
  if (startingPath_.size() > pages::kMaxStartingPathLength) startingPath_.resize(1);

  const std::string size = session_.Project.GetFieldValue(
      project::task::Properties, project::SubTaskType::GetAllVar, project::FieldName::SoftwareSize);
  SetItemText(IDC_SIZE_LINE,
              pages::SoftwareSizeLine(session_.Language, text::ParseDecimal64(size)));
  SetItemText(IDC_PATH_DESCRIPTION, Text(LanguageKey::ChangePathDesc2));

  FillDriveList();
  tree_.Attach(Hwnd(), IDC_PATH_TREE);
  const std::string letter = DriveLetterOf(startingPath_);
  if (!letter.empty()) ShowDrive(letter + ":");
  return true;
}

void CChangeInstallPath::FillDriveList() {
  ui::WindowDc dc(Item(IDC_DRIVE_LIST));
  ui::SelectObjectScope font(dc.Get(), normalFont_.Get());
  LONG widest = 0;
  const std::string startLetter = DriveLetterOf(startingPath_);
  for (const std::string& root : LogicalDriveRoots()) {
    const auto kind = static_cast<pages::DriveKind>(GetDriveTypeA(root.c_str()));
    if (!pages::IsOfferedDrive(root, kind)) continue;
    const std::string letter = DriveLetterOf(root);
    ULARGE_INTEGER freeBytes{};
    std::optional<std::uint64_t> free;
    if (GetDiskFreeSpaceExA(root.c_str(), nullptr, nullptr, &freeBytes)) free = freeBytes.QuadPart;
    const std::string line = pages::DriveLine(session_.Language, letter[0], free);
    driveRoots_.push_back(letter + ":\\");
    const LRESULT index =
        SendItem(IDC_DRIVE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (letter == startLetter) SendItem(IDC_DRIVE_LIST, CB_SETCURSEL, static_cast<WPARAM>(index));
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), line.c_str(), static_cast<int>(line.size()), &extent);
    widest = std::max(widest, extent.cx);
  }
  // The box is narrow for its lines; the open list at least shows them whole.
  SendItem(IDC_DRIVE_LIST, CB_SETDROPPEDWIDTH,
           static_cast<WPARAM>(widest + 4 * GetSystemMetrics(SM_CXEDGE) +
                               GetSystemMetrics(SM_CXVSCROLL)));
}

void CChangeInstallPath::ShowDrive(const std::string& root) {
  tree_.DisplayTree(root, false);
  tree_.SelectPath(root);
}

void CChangeInstallPath::ComposeFrom(const std::string& chosenFolder) {
  const auto path =
      pages::ComposeInstallPath(chosenFolder, relative_, session_.Expand("[Program Files]"));
  if (path) path_.SetText(*path);
}

bool CChangeInstallPath::Leave(PageKind next) {
  return next != PageKind::Progress || pages::AcceptInstallPath(session_, GetPath()).has_value();
}

bool CChangeInstallPath::OnCommand(int id, int code, HWND control) {
  if (id == IDC_DRIVE_LIST && code == CBN_SELENDOK) {
    const LRESULT index = SendItem(IDC_DRIVE_LIST, CB_GETCURSEL);
    if (index >= 0 && static_cast<std::size_t>(index) < driveRoots_.size())
      ShowDrive(driveRoots_[static_cast<std::size_t>(index)]);
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

bool CChangeInstallPath::OnNotify(int id, NMHDR& header, LRESULT& result) {
  if (id == IDC_PATH_TREE && (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW)) {
    HTREEITEM caret = TreeView_GetSelection(tree_.Hwnd());
    if (caret) ComposeFrom(tree_.GetFullPath(caret));
    result = 0;
    return true;
  }
  return CWizardPage::OnNotify(id, header, result);
}

}  // namespace tarn::wizard
