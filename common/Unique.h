// One owner for every kind of Windows handle: moves, never copies, and keeps the
// caller's last-error code across the close.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace win {

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;
  Unique() noexcept = default;
  explicit Unique(Handle h) noexcept : h_(h) {}
  Unique(Unique&& o) noexcept : h_(o.release()) {}
  Unique& operator=(Unique&& o) noexcept {
    reset(o.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return Traits::valid(h_); }
  [[nodiscard]] Handle release() noexcept { return std::exchange(h_, Traits::none()); }
  Handle* put() noexcept {
    reset();
    return &h_;
  }
  void reset(Handle h = Traits::none()) noexcept {
    const DWORD error = ::GetLastError();
    if (Traits::valid(h_)) Traits::close(h_);
    h_ = h;
    ::SetLastError(error);
  }

 private:
  Handle h_ = Traits::none();
};

template <typename H, H None>
struct NullTraits {
  using Handle = H;
  static Handle none() noexcept { return None; }
  static bool valid(Handle h) noexcept { return h != None; }
};

struct KeyTraits : NullTraits<HKEY, nullptr> {
  static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static Handle none() noexcept { return INVALID_HANDLE_VALUE; }
  static bool valid(Handle h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};
struct KernelTraits : NullTraits<HANDLE, nullptr> {
  static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle none() noexcept { return INVALID_HANDLE_VALUE; }
  static bool valid(Handle h) noexcept { return h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) noexcept { ::FindClose(h); }
};
struct ModuleTraits : NullTraits<HMODULE, nullptr> {
  static void close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct GdiTraits : NullTraits<HGDIOBJ, nullptr> {
  static void close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct IconTraits : NullTraits<HICON, nullptr> {
  static void close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct WindowTraits : NullTraits<HWND, nullptr> {
  static void close(HWND h) noexcept { ::DestroyWindow(h); }
};

struct MemoryDcTraits : NullTraits<HDC, nullptr> {
  static void close(HDC h) noexcept { ::DeleteDC(h); }
};
struct MenuTraits : NullTraits<HMENU, nullptr> {
  static void close(HMENU h) noexcept { ::DestroyMenu(h); }
};

using UniqueKey = Unique<KeyTraits>;
using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueFind = Unique<FindTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueGdi = Unique<GdiTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueMenu = Unique<MenuTraits>;

// A window's device context (GetDC or GetWindowDC), released at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false) noexcept
      : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back at the end.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~Selected() {
    if (old_) ::SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// COM initialised for the calling thread, uninitialised when this initialised it.
class ComInit {
 public:
  ComInit() noexcept : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComInit() {
    if (initialised_) ::CoUninitialize();
  }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  bool initialised() const noexcept { return initialised_; }

 private:
  bool initialised_;
};

// COM pointer owner.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    reset(std::exchange(o.p_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
  void reset(T* p = nullptr) noexcept {
    if (p_) p_->Release();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace win
