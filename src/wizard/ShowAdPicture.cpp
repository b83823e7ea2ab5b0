#include "wizard/ShowAdPicture.h"

#include <algorithm>

#include "engine/session/PageMetrics.h"
#include "pictures/DrawBitmapFile.h"
#include "res/resource.h"
#include "ui/DenseLayout.h"
#include "ui/DeviceContext.h"

namespace tarn::wizard {

using ui::PaintScope;
using ui::WindowDc;

namespace {

// The splash's size for a picture on a dense display: grown with the density as far as the
// screen allows, its proportions kept.
pictures::PictureSize DenseSplashSize(pictures::PictureSize picture, int logPixelsY) {
  const RECT room{
      0, 0,
      std::min(engine::ScaleFrom120Dpi(picture.width, logPixelsY), GetSystemMetrics(SM_CXSCREEN)),
      std::min(engine::ScaleFrom120Dpi(picture.height, logPixelsY), GetSystemMetrics(SM_CYSCREEN))};
  const RECT r = pictures::PictureRectIn(picture, room, pictures::Scaling::KeepAspect);
  return pictures::PictureSize{r.right - r.left, r.bottom - r.top};
}

}  // namespace

CShowAdPicture::CShowAdPicture() : ui::ModalDialog(IDD_AD_PICTURE) {}

bool CShowAdPicture::OnInitDialog() {
  // A dialog procedure never sees WM_CREATE, so the five seconds start here, just before the
  // window first shows.
  SetTimer(Hwnd(), kTimerId, kShowMilliseconds, nullptr);

  std::optional<pictures::PictureSize> size;
  if (ui::IsDenseDisplay(logPixelsY_)) {
    size = pictures::BitmapFileSize(picture_);
    if (size) size = DenseSplashSize(*size, logPixelsY_);
  } else {
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
  if (ui::IsDenseDisplay(logPixelsY_)) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    pictures::DrawBitmapFileIn(picture_, paint.Dc(), client, pictures::Scaling::KeepAspect);
  } else {
    pictures::DrawBitmapFile(picture_, paint.Dc(), 0, 0);
  }
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
