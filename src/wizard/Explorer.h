#pragma once
// The web browser control in a child window of atl.dll's "AtlAxWin" class. It watches its own
// navigation on a timer of its window and reports when nothing renders the document.

#include <windows.h>

#include <exdisp.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win32/Win32Toolkit.h"
#include "ui/Dialog.h"
#include "wizard/BrowserEventSink.h"

namespace tarn::wizard {

class CExplorer : public ui::Control {
 public:
  CExplorer() = default;
  ~CExplorer() override;

  // Hosts the browser as control `id` of `parent`, in `rect`; false when it cannot be hosted.
  bool Create(HWND parent, const RECT& rect, int id);
  // Starts loading `url`. `notRendering` is called, from the control's own timer, once it is
  // clear that no engine renders the document; the browser window may be closed from there.
  bool Navigate(const std::string& url, std::function<void()> notRendering);
  // Destroys the window and lets go of the control.
  void Close();

 protected:
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  enum class Progress { Loading, Rendered, NotRendering };
  Progress Check();
  void Release();

  // The browser and the sink's connection to it, held while the window is up.
  struct Connection {
    platform::ComPtr<IWebBrowser2> browser;
    platform::ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
  };

  BrowserEventSink sink_;
  std::unique_ptr<Connection> connection_;
  std::uint32_t waitedMs_ = 0;
  std::function<void()> notRendering_;
};

}  // namespace tarn::wizard
