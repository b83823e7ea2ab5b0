#include "wizard/ShowAdPicture.h"

#include "pictures/DrawBitmapFile.h"
#include "res/resource.h"
#include "ui/DeviceContext.h"

namespace tarn::wizard {

using ui::PaintScope;
using ui::WindowDc;

CShowAdPicture::CShowAdPicture() : ui::ModalDialog(IDD_AD_PICTURE) {}

bool CShowAdPicture::OnInitDialog() {
  // A dialog procedure never sees WM_CREATE, so the five seconds start here, just before the
  // window first shows.
  SetTimer(Hwnd(), kTimerId, kShowMilliseconds, nullptr);

  std::optional<pictures::PictureSize> size;
  {
    const WindowDc dc(Hwnd());
    if (dc.Get()) size = pictures::DrawBitmapFile(picture_, dc.Get(), 0, 0);
  }
  if (size) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - size->width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - size->height) / 2;
    MoveWindow(Hwnd(), left, top, size->width, size->height, FALSE);
  }
  return true;
}

bool CShowAdPicture::OnPaint() {
  const PaintScope paint(Hwnd());
  pictures::DrawBitmapFile(picture_, paint.Dc(), 0, 0);
  return true;
}

void CShowAdPicture::OnTimer(UINT_PTR id) {
  if (id != kTimerId) return;
  KillTimer(Hwnd(), kTimerId);
  closeAllowed_ = true;
  EndDialog(IDOK);
}

INT_PTR CShowAdPicture::OnMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  if (message != WM_CLOSE) {
    handled = false;
    return 0;
  }
  // Alt+F4 and the like end the splash only once its time is over.
  if (closeAllowed_) EndDialog(IDOK);
  handled = true;
  return TRUE;
}

}  // namespace tarn::wizard
