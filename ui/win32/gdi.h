#pragma once
// Owners of GDI objects and device contexts: each frees its handle once, when it goes, so no
// path through a view or a picture can leak one or free one twice.
#include <windows.h>

#include <utility>

namespace win32ui {

// A handle with one owner; Free is the call that gives the handle back to the system.
template <typename H, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_ != nullptr) Free{}(handle_);
    handle_ = nullptr;
  }

 private:
  H handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DestroyIconHandle {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DeleteDeviceContext {
  void operator()(HDC h) const { DeleteDC(h); }
};

using Font = Owned<HFONT, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using Icon = Owned<HICON, DestroyIconHandle>;
// A memory device context (CreateCompatibleDC).
using MemoryDc = Owned<HDC, DeleteDeviceContext>;

// The device context of a window (GetDC), released with it.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a device context for one scope; the one before comes back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32ui
