#include "wizard/Explorer.h"

#include <utility>

#include "platform/win32/InterfaceIds.h"
#include "ui/SystemLibrary.h"

namespace tarn::wizard {

namespace {

constexpr const char* kWebBrowserClassId = "{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchIntervalMs = 100;
// A local document renders in well under a second; an engine that has not even begun a
// document by then is not coming.
constexpr std::uint32_t kRenderDeadlineMs = 3000;

// AtlAxGetControl of the loaded atl.dll: the control hosted in an "AtlAxWin" window.
bool HostedControl(HWND host, platform::ComPtr<IUnknown>& control) {
  HMODULE atl = GetModuleHandleA("atl.dll");
  if (!atl) return false;
  using AtlAxGetControlFn = HRESULT WINAPI(HWND, IUnknown**);
  const auto get = ui::LibraryFunction<AtlAxGetControlFn>(atl, "AtlAxGetControl");
  return get && SUCCEEDED(get(host, control.Out())) && control;
}

}  // namespace

CExplorer::~CExplorer() { Close(); }

bool CExplorer::Create(HWND parent, const RECT& rect, int id) {
  Close();
  HWND host = CreateWindowExA(0, "AtlAxWin", kWebBrowserClassId, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  if (!host) return false;
  auto connection = std::make_unique<Connection>();
  platform::ComPtr<IUnknown> control;
  if (!HostedControl(host, control) ||
      FAILED(control->QueryInterface(platform::win32::kWebBrowser2Id,
                                     connection->browser.OutVoid())) ||
      !connection->browser || !Attach(host)) {
    connection.reset();
    DestroyWindow(host);
    return false;
  }
  platform::ComPtr<IConnectionPointContainer> points;
  if (SUCCEEDED(connection->browser->QueryInterface(platform::win32::kConnectionPointContainerId,
                                                    points.OutVoid())) &&
      points &&
      SUCCEEDED(points->FindConnectionPoint(platform::win32::kWebBrowserEvents2Id,
                                            connection->events.Out())) &&
      connection->events) {
    if (FAILED(connection->events->Advise(&sink_, &connection->cookie))) connection->cookie = 0;
  }
  connection_ = std::move(connection);
  return true;
}

bool CExplorer::Navigate(const std::string& url, std::function<void()> notRendering) {
  if (!connection_ || !Hwnd()) return false;
  notRendering_ = std::move(notRendering);
  sink_.Clear();
  waitedMs_ = 0;
  const platform::Bstr address = platform::AnsiBstr(url);
  if (!address) return false;
  VARIANT none{};  // VT_EMPTY for the four optional arguments
  if (FAILED(connection_->browser->Navigate(address.Get(), &none, &none, &none, &none)))
    return false;
  SetTimer(Hwnd(), kWatchTimer, kWatchIntervalMs, nullptr);
  return true;
}

CExplorer::Progress CExplorer::Check() {
  if (sink_.NavigateError()) return Progress::NotRendering;
  if (sink_.DocumentComplete()) return Progress::Rendered;
  READYSTATE state = READYSTATE_UNINITIALIZED;
  platform::ComPtr<IDispatch> document;
  IWebBrowser2* browser = connection_ ? connection_->browser.Get() : nullptr;
  if (browser && SUCCEEDED(browser->get_ReadyState(&state)) && state >= READYSTATE_INTERACTIVE &&
      SUCCEEDED(browser->get_Document(document.Out())) && document)
    return Progress::Rendered;
  return waitedMs_ >= kRenderDeadlineMs ? Progress::NotRendering : Progress::Loading;
}

bool CExplorer::OnControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_TIMER && wParam == kWatchTimer) {
    waitedMs_ += kWatchIntervalMs;
    const Progress progress = Check();
    if (progress != Progress::Loading) KillTimer(Hwnd(), kWatchTimer);
    result = 0;
    if (progress == Progress::NotRendering && notRendering_) {
      // The handler may close this window; nothing of it is touched afterwards.
      const std::function<void()> report = std::move(notRendering_);
      notRendering_ = nullptr;
      report();
    }
    return true;
  }
  if (message == WM_DESTROY) {
    // Let go of the browser before the host window tears it down.
    KillTimer(Hwnd(), kWatchTimer);
    Release();
  }
  return false;
}

void CExplorer::Release() {
  if (connection_ && connection_->events && connection_->cookie != 0)
    connection_->events->Unadvise(connection_->cookie);
  connection_.reset();
}

void CExplorer::Close() {
  Release();
  notRendering_ = nullptr;
  if (HWND host = Hwnd()) DestroyWindow(host);
}

}  // namespace tarn::wizard
