#include "wizard/Finish.h"

#include <algorithm>
#include <climits>

#include "pages/FinishActions.h"
#include "res/resource.h"
#include "ui/DenseLayout.h"

namespace tarn::wizard {

CFinish::CFinish(engine::SetupSession& session)
    : CWizardPage(IDD_FINISH, session, project::LanguageKey::ShowFinishSubject) {}

bool CFinish::Create(HWND frame) {
  const bool created = CWizardPage::Create(frame);
  description_ =
      Text(project::LanguageKey::ProjectName) + Text(project::LanguageKey::ShowFinishDesc);
  return created;
}

void CFinish::SetFinishTask(const project::Task* task) {
  RemoveCheckBoxes();
  task_ = task;
  if (!task_ || !Hwnd()) return;

  const std::vector<pages::FinishCheckBox> boxes = pages::FinishCheckBoxes(session_, *task_);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const std::int32_t dpi = session_.System.system.DisplayLogPixelsY();
  const std::vector<pages::BoxRect> rects =
      pages::LayoutFinishCheckBoxes(boxes, client.right - client.left, client.bottom - client.top,
                                    pages::FinishLayoutForDpi(dpi));
  // A box is twice as wide as its text is thought to be; on a dense display that room ends
  // at the page's edge.
  const LONG right = ui::IsDenseDisplay(dpi) ? client.right : LONG_MAX;
  // The dialog's font, or where that may stop growing, the normal one as on every page.
  const WPARAM font = ui::IsDenseDisplay(dpi)
                          ? reinterpret_cast<WPARAM>(normalFont_.Get())
                          : static_cast<WPARAM>(SendMessageA(Hwnd(), WM_GETFONT, 0, 0));
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const pages::BoxRect& r = rects[i];
    HWND box = CreateWindowExA(
        0, "BUTTON", boxes[i].text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
        r.left, r.top, std::min<LONG>(r.right, right) - r.left, r.bottom - r.top, Hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(boxes[i].id)), Instance(), nullptr);
    if (!box) continue;
    checkBoxes_.emplace_back(box);
    SendMessageA(box, WM_SETFONT, font, FALSE);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  }
}

void CFinish::FinishActions() {
  if (!task_) return;
  pages::RunFinishActions(session_, *task_, [this](std::int32_t id) { return IsChecked(id); });
}

void CFinish::RemoveCheckBoxes() { checkBoxes_.clear(); }

void CFinish::OnDestroy() {
  // The boxes go with the page window itself.
  for (auto& box : checkBoxes_) box.Release();
  checkBoxes_.clear();
}

}  // namespace tarn::wizard
