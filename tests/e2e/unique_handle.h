#pragma once
// Owners for the Win32 handles the tests hold, so each is released once.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tesmirol::e2e {

struct KernelHandleClose {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
// A process, thread or other kernel object.
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleClose>;

struct GdiObjectDelete {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDelete>;

struct MemoryDcDelete {
  void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDelete>;

// A device context borrowed from a window (or, with no window, the screen).
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
  ~WindowDc() {
    if (m_dc != nullptr) {
      ReleaseDC(m_window, m_dc);
    }
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&&) = delete;
  WindowDc& operator=(WindowDc&&) = delete;

  [[nodiscard]] HDC Get() const noexcept { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// Keeps an object selected into a device context until the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(m_dc, m_previous); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  SelectedObject(SelectedObject&&) = delete;
  SelectedObject& operator=(SelectedObject&&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

}  // namespace tesmirol::e2e
