#pragma once
// Owners for everything the Win32 side opens, creates, loads or enters: kernel handles, COM
// interfaces, GDI objects, BSTR strings, libraries, registry keys, windows, device contexts and
// thread apartments. Each is move-only and gives its resource back exactly once, when it goes
// or is reset. They share one vocabulary: Get, Valid (and a test as bool), Reset, Release (hands
// the resource over without giving it back) and Out (for an out-parameter).

#include <windows.h>

#include <ole2.h>
#include <oleauto.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tarn::platform {

// The owner of one resource; `Traits` say what it is (`Handle`), what no resource is (`Empty`),
// whether a value is a resource (`Valid`) and how it is given back (`Close`).
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const { return handle_; }
  bool Valid() const { return Traits::Valid(handle_); }
  explicit operator bool() const { return Valid(); }
  // Gives back the resource held (unless it is `handle` itself) and takes `handle`.
  void Reset(Handle handle = Traits::Empty()) {
    if (handle == handle_) return;
    if (Valid()) Traits::Close(handle_);
    handle_ = handle;
  }
  Handle Release() { return std::exchange(handle_, Traits::Empty()); }
  // Empties the owner and lends its storage to a call that opens or creates the resource.
  Handle* Out() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Empty();
};

namespace toolkit {

// Null and INVALID_HANDLE_VALUE both mean "nothing" for the handles of files and searches.
template <class Closer>
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { Closer::Close(handle); }
};

// Traits for the handles where null is the only "nothing".
template <class H, class Closer>
struct NullableTraits {
  using Handle = H;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr; }
  static void Close(Handle handle) { Closer::Close(handle); }
};

struct CloseKernelHandle {
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct CloseFind {
  static void Close(HANDLE handle) { FindClose(handle); }
};
struct DeleteGdiObject {
  static void Close(HGDIOBJ object) { DeleteObject(object); }
};
struct DeleteDeviceContext {
  static void Close(HDC dc) { DeleteDC(dc); }
};
struct FreeModule {
  static void Close(HMODULE module) { FreeLibrary(module); }
};
struct DestroyOwnedWindow {
  static void Close(HWND window) { DestroyWindow(window); }
};
struct CloseRegistryKey {
  static void Close(HKEY key) { RegCloseKey(key); }
};
struct FreeBstr {
  static void Close(BSTR text) { SysFreeString(text); }
};
struct ReleaseInterface {
  static void Close(IUnknown* object) { object->Release(); }
};

}  // namespace toolkit

// A kernel object (file, process, thread, token), closed with CloseHandle.
using KernelHandle = UniqueHandle<toolkit::KernelTraits<toolkit::CloseKernelHandle>>;
// A search started by FindFirstFileA.
using FindHandle = UniqueHandle<toolkit::KernelTraits<toolkit::CloseFind>>;
// A font, pen, brush, bitmap or palette, deleted with DeleteObject.
template <class H>
using GdiObject = UniqueHandle<toolkit::NullableTraits<H, toolkit::DeleteGdiObject>>;
using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Palette = GdiObject<HPALETTE>;
// A device context of our own (CreateCompatibleDC, CreateIC), deleted with DeleteDC.
using CreatedDc = UniqueHandle<toolkit::NullableTraits<HDC, toolkit::DeleteDeviceContext>>;
// A loaded library, freed with FreeLibrary.
using Library = UniqueHandle<toolkit::NullableTraits<HMODULE, toolkit::FreeModule>>;
// A window destroyed with its owner: a control the program made and may take away again.
using OwnedWindow = UniqueHandle<toolkit::NullableTraits<HWND, toolkit::DestroyOwnedWindow>>;
// An opened registry key (never a predefined root), closed with RegCloseKey.
using RegistryKey = UniqueHandle<toolkit::NullableTraits<HKEY, toolkit::CloseRegistryKey>>;
// A string of the OLE allocator.
using Bstr = UniqueHandle<toolkit::NullableTraits<BSTR, toolkit::FreeBstr>>;

// A COM interface pointer, released when the owner goes.
template <class Interface>
class ComPtr : public UniqueHandle<toolkit::NullableTraits<Interface*, toolkit::ReleaseInterface>> {
 public:
  using UniqueHandle<toolkit::NullableTraits<Interface*, toolkit::ReleaseInterface>>::UniqueHandle;
  Interface* operator->() const { return this->Get(); }
  // For the untyped out-parameter of CoCreateInstance and QueryInterface.
  void** OutVoid() { return reinterpret_cast<void**>(this->Out()); }
};

// `ansi` (in the system's code page) as a BSTR; empty when it cannot be converted.
inline Bstr AnsiBstr(const std::string& ansi) {
  const int length =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  if (length <= 0 && !ansi.empty()) return Bstr();
  std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
  return Bstr(SysAllocStringLen(wide.data(), static_cast<UINT>(length)));
}

namespace toolkit {

struct ComApartment {
  static bool Enter() { return SUCCEEDED(CoInitialize(nullptr)); }
  static void Leave() { CoUninitialize(); }
};
struct OleApartment {
  static bool Enter() { return SUCCEEDED(OleInitialize(nullptr)); }
  static void Leave() { OleUninitialize(); }
};

}  // namespace toolkit

// A thread's COM or OLE apartment for the life of the scope. The apartment is left only when
// entering it succeeded; a thread that was already inside stays inside.
template <class Apartment>
class ApartmentScope {
 public:
  ApartmentScope() : entered_(Apartment::Enter()) {}
  ~ApartmentScope() {
    if (entered_) Apartment::Leave();
  }
  ApartmentScope(ApartmentScope&& other) noexcept
      : entered_(std::exchange(other.entered_, false)) {}
  ApartmentScope& operator=(ApartmentScope&&) = delete;
  ApartmentScope(const ApartmentScope&) = delete;
  ApartmentScope& operator=(const ApartmentScope&) = delete;
  bool Valid() const { return entered_; }
  explicit operator bool() const { return entered_; }

 private:
  bool entered_;
};

// CoInitialize / CoUninitialize: enough for shell links.
using ComScope = ApartmentScope<toolkit::ComApartment>;
// OleInitialize / OleUninitialize: what hosting an ActiveX control needs.
using OleScope = ApartmentScope<toolkit::OleApartment>;

// A window's device context (GetDC), released when the scope goes.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(WindowDc&& other) noexcept
      : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }
  bool Valid() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint on construction, EndPaint when the scope goes.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd_, &paint_); }
  ~PaintScope() {
    if (hwnd_) EndPaint(hwnd_, &paint_);
  }
  PaintScope(PaintScope&& other) noexcept
      : hwnd_(std::exchange(other.hwnd_, nullptr)), paint_(other.paint_) {}
  PaintScope& operator=(PaintScope&&) = delete;
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return paint_.hdc; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
};

// Selects a GDI object into a device context and puts the previous one back when it goes.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectObjectScope() {
    if (dc_) SelectObject(dc_, previous_);
  }
  SelectObjectScope(SelectObjectScope&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(other.previous_) {}
  SelectObjectScope& operator=(SelectObjectScope&&) = delete;
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects a palette (as the foreground palette) and realises it; when the scope goes the
// previous palette is selected again, as a background palette.
class SelectPaletteScope {
 public:
  SelectPaletteScope(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette) {
      previous_ = SelectPalette(dc_, palette, FALSE);
      RealizePalette(dc_);
    }
  }
  ~SelectPaletteScope() {
    if (previous_) SelectPalette(dc_, previous_, TRUE);
  }
  SelectPaletteScope(SelectPaletteScope&& other) noexcept
      : dc_(other.dc_), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectPaletteScope& operator=(SelectPaletteScope&&) = delete;
  SelectPaletteScope(const SelectPaletteScope&) = delete;
  SelectPaletteScope& operator=(const SelectPaletteScope&) = delete;

 private:
  HDC dc_;
  HPALETTE previous_ = nullptr;
};

}  // namespace tarn::platform
