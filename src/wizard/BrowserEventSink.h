#pragma once
// The receiver of the web browser's DWebBrowserEvents2. It only notes the two events that tell
// whether the document is being rendered; its owner reads them at its own pace, since the
// browser calls the sink in the middle of its own work.

#include <windows.h>

#include <exdisp.h>

namespace tarn::wizard {

class BrowserEventSink : public IDispatch {
 public:
  BrowserEventSink() = default;
  BrowserEventSink(const BrowserEventSink&) = delete;
  BrowserEventSink& operator=(const BrowserEventSink&) = delete;

  // Forgets what was noted, for a new navigation.
  void Clear() {
    navigateError_ = false;
    documentComplete_ = false;
  }
  bool NavigateError() const { return navigateError_; }
  bool DocumentComplete() const { return documentComplete_; }

  // The sink lives inside its owner and is unadvised before the browser is released, so its
  // reference count only mirrors the browser's use of it.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  ULONG references_ = 0;
  bool navigateError_ = false;
  bool documentComplete_ = false;
};

}  // namespace tarn::wizard
