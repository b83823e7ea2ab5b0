#include "wizard/BrowserEventSink.h"

#include <exdispid.h>

#include "platform/win32/InterfaceIds.h"

namespace tarn::wizard {

HRESULT STDMETHODCALLTYPE BrowserEventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, platform::win32::kUnknownId) ||
      IsEqualIID(iid, platform::win32::kDispatchId) ||
      IsEqualIID(iid, platform::win32::kWebBrowserEvents2Id)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE BrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*,
                                                   VARIANT*, EXCEPINFO*, UINT*) {
  if (id == DISPID_NAVIGATEERROR) navigateError_ = true;
  if (id == DISPID_DOCUMENTCOMPLETE) documentComplete_ = true;
  return S_OK;
}

}  // namespace tarn::wizard
