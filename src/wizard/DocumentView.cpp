#include "wizard/DocumentView.h"

#include <exdispid.h>
#include <oleauto.h>
#include <richedit.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "text/ByteText.h"
#include "text/HtmlReader.h"
#include "text/MimeMessage.h"

namespace tarn::wizard {

namespace {

constexpr const char* kWebBrowserClassId = "{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchIntervalMs = 100;
// A local document renders in well under a second; an engine that has not even begun a
// document by then is not coming.
constexpr std::uint32_t kRenderDeadlineMs = 3000;
// A licence is a few pages; anything beyond this is not read into the text box.
constexpr std::uint64_t kMaxDocumentBytes = 16u << 20;

// A BSTR owned for the length of one call.
class Bstr {
 public:
  explicit Bstr(const std::string& ansi) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (length > 0 || ansi.empty()) {
      std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          length);
      value_ = SysAllocStringLen(wide.data(), static_cast<UINT>(length));
    }
  }
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_ = nullptr;
};

// AtlAxGetControl of the loaded atl.dll: the control hosted in an "AtlAxWin" window.
bool HostedControl(HWND host, platform::ComPtr<IUnknown>& control) {
  HMODULE atl = GetModuleHandleA("atl.dll");
  if (!atl) return false;
  using AtlAxGetControlFn = HRESULT WINAPI(HWND, IUnknown**);
  const auto get = ui::LibraryFunction<AtlAxGetControlFn>(atl, "AtlAxGetControl");
  return get && SUCCEEDED(get(host, reinterpret_cast<IUnknown**>(control.out()))) && control;
}

// Characters of the system's code page for the entities of a document.
text::CodePointEncoder AnsiEncoder(std::uint32_t codePage) {
  return [codePage](char32_t c) -> std::string {
    wchar_t wide[2];
    int units = 1;
    if (c >= 0x10000) {
      wide[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      wide[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      units = 2;
    } else {
      wide[0] = static_cast<wchar_t>(c);
    }
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                      sizeof bytes, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return {};
    return std::string(bytes, static_cast<std::size_t>(n));
  };
}

}  // namespace

// --- CExplorer ---

HRESULT STDMETHODCALLTYPE CExplorer::EventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CExplorer::EventSink::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CExplorer::EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CExplorer::EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                                              DISPID*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CExplorer::EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*,
                                                       VARIANT*, EXCEPINFO*, UINT*) {
  // Only noted here: the browser is in the middle of a call, so the timer decides.
  if (id == DISPID_NAVIGATEERROR) owner_.navigateError_ = true;
  if (id == DISPID_DOCUMENTCOMPLETE) owner_.documentComplete_ = true;
  return S_OK;
}

CExplorer::CExplorer() : sink_(*this) {}

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
      FAILED(control->QueryInterface(IID_IWebBrowser2, connection->browser.out())) ||
      !connection->browser || !Attach(host)) {
    connection.reset();
    DestroyWindow(host);
    return false;
  }
  platform::ComPtr<IConnectionPointContainer> points;
  if (SUCCEEDED(connection->browser->QueryInterface(IID_IConnectionPointContainer, points.out())) &&
      points &&
      SUCCEEDED(points->FindConnectionPoint(
          DIID_DWebBrowserEvents2,
          reinterpret_cast<IConnectionPoint**>(connection->events.out()))) &&
      connection->events) {
    if (FAILED(connection->events->Advise(&sink_, &connection->cookie))) connection->cookie = 0;
  }
  connection_ = std::move(connection);
  return true;
}

bool CExplorer::Navigate(const std::string& url, std::function<void()> notRendering) {
  if (!connection_ || !Hwnd()) return false;
  notRendering_ = std::move(notRendering);
  navigateError_ = false;
  documentComplete_ = false;
  waitedMs_ = 0;
  const Bstr address(url);
  if (!address.Get()) return false;
  VARIANT none{};  // VT_EMPTY for the four optional arguments
  if (FAILED(connection_->browser->Navigate(address.Get(), &none, &none, &none, &none)))
    return false;
  SetTimer(Hwnd(), kWatchTimer, kWatchIntervalMs, nullptr);
  return true;
}

CExplorer::Progress CExplorer::Check() {
  if (navigateError_) return Progress::NotRendering;
  if (documentComplete_) return Progress::Rendered;
  READYSTATE state = READYSTATE_UNINITIALIZED;
  platform::ComPtr<IDispatch> document;
  IWebBrowser2* browser = connection_ ? connection_->browser.get() : nullptr;
  if (browser && SUCCEEDED(browser->get_ReadyState(&state)) && state >= READYSTATE_INTERACTIVE &&
      SUCCEEDED(browser->get_Document(reinterpret_cast<IDispatch**>(document.out()))) && document)
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

// --- CDocumentView ---

CDocumentView::~CDocumentView() { Close(); }

void CDocumentView::Close() {
  browserShown_ = false;
  browser_.Close();
  if (textBox_) DestroyWindow(textBox_);
  textBox_ = nullptr;
  page_ = nullptr;
}

void CDocumentView::Create(HWND page, int id, HFONT font) {
  page_ = page;
  id_ = id;
  font_ = font;
  if (HWND placeholder = GetDlgItem(page, id)) {
    GetWindowRect(placeholder, &rect_);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect_), 2);
    DestroyWindow(placeholder);
  }
  browserShown_ = browser_.Create(page, rect_, id);
  if (!browserShown_) ShowText();
}

HWND CDocumentView::Hwnd() const { return browserShown_ ? browser_.Hwnd() : textBox_; }

void CDocumentView::OpenTaskDocument(const project::Task* task, project::SubTaskType type,
                                     std::string_view mhtName, std::string_view htmName) {
  if (!task) return;
  std::string path = "[TempFileDir]";
  bool mht = false;
  bool named = false;
  for (const project::SubTask& subTask : task->SubTasks()) {
    if (subTask.Type() != type) continue;
    for (const project::FieldEntry& field : subTask.Fields()) {
      if (field.Name() == project::FieldName::FileType) {
        mht = text::EqualsIgnoreAsciiCase(field.Value(), "M");
        path += mht ? mhtName : htmName;
        named = true;
      } else if (field.Name() == project::FieldName::File && !field.Value().empty() && named) {
        // Without a FileType before it, the path names the temporary folder, not a document.
        Open(session_.StampedTempName(path), mht);
      }
    }
  }
}

void CDocumentView::Open(const std::string& path, bool mht) {
  path_ = path;
  mht_ = mht;
  if (browserShown_ && session_.System.files.Exists(path) &&
      browser_.Navigate(path, [this] { ShowText(); }))
    return;
  ShowText();
}

std::string CDocumentView::DocumentText() const {
  if (path_.empty()) return {};
  auto file = session_.System.files.Open(path_, platform::OpenMode::Read);
  if (!file) return {};
  std::string bytes;
  const std::uint64_t length = file->Length().value_or(0);
  bytes.resize(static_cast<std::size_t>(std::min(length, kMaxDocumentBytes)));
  std::size_t got = 0;
  if (!bytes.empty() && !file->Read(bytes.data(), bytes.size(), got)) got = 0;
  bytes.resize(got);
  const text::CodePointEncoder encode = AnsiEncoder(session_.CodePage);
  return mht_ ? text::MhtToText(bytes, session_.CodePage, encode)
              : text::HtmlToText(bytes, session_.CodePage, encode);
}

void CDocumentView::ShowText() {
  if (!page_) return;
  if (browserShown_) {
    browserShown_ = false;
    browser_.Close();
  }
  if (!textBox_) {
    if (!richEdit_) richEdit_ = ui::LoadSystemLibrary("riched20.dll");
    if (!richEdit_) return;
    textBox_ = CreateWindowExA(
        WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
            ES_AUTOVSCROLL,
        rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, page_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr);
    if (!textBox_) return;
    SendMessageA(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(textBox_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 4));
    // The box would otherwise take no more than 32767 characters.
    SendMessageA(textBox_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  }
  const std::string text = DocumentText();
  SetWindowTextA(textBox_, text.c_str());
  SendMessageA(textBox_, EM_SETSEL, 0, 0);
}

}  // namespace tarn::wizard
