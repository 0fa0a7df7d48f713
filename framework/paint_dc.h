#pragma once
// The device context of one WM_PAINT: BeginPaint on construction, EndPaint
// on destruction, so a paint handler can never leave the window unvalidated.

#include <windows.h>

namespace tesmirol {

class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_paint)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  PaintDc(PaintDc&&) = delete;
  PaintDc& operator=(PaintDc&&) = delete;
  ~PaintDc() { EndPaint(m_hwnd, &m_paint); }

  // The DC to draw with; null when the system could not give one.
  [[nodiscard]] HDC Get() const noexcept { return m_dc; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

}  // namespace tesmirol
