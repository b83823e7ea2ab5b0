#pragma once
// The document control of the licence and readme pages: the system's web browser where an HTML
// engine renders the document, otherwise a read-only rich edit box with the document's text, so
// that the user can always read what they are asked to accept.

#include <windows.h>

#include <exdisp.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/session/SetupSession.h"
#include "platform/win32/Win32Handles.h"
#include "project/Task.h"
#include "ui/Dialog.h"
#include "ui/SystemLibrary.h"

namespace tarn::wizard {

// The web browser control in a child window of atl.dll's "AtlAxWin" class. It watches its own
// navigation on a timer of its window and reports when nothing renders the document.
class CExplorer : public ui::Control {
 public:
  CExplorer();
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
  // The DWebBrowserEvents2 sink. It lives inside its CExplorer and is unadvised before the
  // control is released, so its reference count only mirrors the browser's use of it.
  class EventSink : public IDispatch {
   public:
    explicit EventSink(CExplorer& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

   private:
    CExplorer& owner_;
    ULONG references_ = 0;
  };

  enum class Progress { Loading, Rendered, NotRendering };
  Progress Check();
  void Release();

  // The browser and the sink's connection to it, held while the window is up.
  struct Connection {
    platform::ComPtr<IWebBrowser2> browser;
    platform::ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
  };

  EventSink sink_;
  std::unique_ptr<Connection> connection_;
  bool navigateError_ = false;
  bool documentComplete_ = false;
  std::uint32_t waitedMs_ = 0;
  std::function<void()> notRendering_;
};

// The control that takes the place of a page's placeholder: the browser, or the text box.
class CDocumentView {
 public:
  explicit CDocumentView(engine::SetupSession& session) : session_(session) {}
  ~CDocumentView();
  CDocumentView(const CDocumentView&) = delete;
  CDocumentView& operator=(const CDocumentView&) = delete;

  // Takes the rectangle and ID of the placeholder control `id` of `page`, which it replaces;
  // the text box gets `font`.
  void Create(HWND page, int id, HFONT font);

  // Shows the document a page's task names: for each subtask of `type`, in order, a FileType
  // field appends `mhtName` (value "M" in any case) or `htmName` to "[TempFileDir]", and a File
  // field that is not empty opens the run-stamped name of that path.
  void OpenTaskDocument(const project::Task* task, project::SubTaskType type,
                        std::string_view mhtName, std::string_view htmName);
  // Shows the document at `path` (an HTML file, or a web archive when `mht`).
  void Open(const std::string& path, bool mht);

  // The control on show; null before Create and after Close.
  HWND Hwnd() const;
  // Destroys the control; the page calls it while its window is being destroyed.
  void Close();

 private:
  void ShowText();
  std::string DocumentText() const;

  engine::SetupSession& session_;
  HWND page_ = nullptr;
  int id_ = 0;
  RECT rect_{};
  HFONT font_ = nullptr;
  std::string path_;
  bool mht_ = false;
  CExplorer browser_;
  bool browserShown_ = false;
  HWND textBox_ = nullptr;
  // Keeps the text box's window class registered while the box exists.
  ui::Library richEdit_;
};

}  // namespace tarn::wizard
