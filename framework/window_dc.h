#pragma once
// The device context of a window's client area, released with the object.

#include <windows.h>

namespace tesmirol {

class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&&) = delete;
  WindowDc& operator=(WindowDc&&) = delete;
  ~WindowDc() {
    if (m_dc != nullptr) {
      ReleaseDC(m_window, m_dc);
    }
  }

  // The context, or null when the window gave none.
  [[nodiscard]] HDC Get() const noexcept { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

}  // namespace tesmirol
