#pragma once
// Holds a window's drawing off for the life of the object, the way
// WM_SETREDRAW does on Windows: the window is marked not visible, so that
// nothing it does meanwhile reaches the screen, and marked visible again at
// the end, with nothing repainted; the owner invalidates what changed. The
// edit control of the common controls under Wine takes WM_SETREDRAW as a
// message of its own and goes on drawing its scroll bar at every change,
// which costs more than the change itself.

#include <windows.h>

namespace tesmirol {

class DrawingHold {
 public:
  explicit DrawingHold(HWND window) noexcept
      : m_window(window), m_wasVisible((GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0) {
    if (m_wasVisible) {
      SetStyle(GetWindowLongPtrW(m_window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }
  }
  DrawingHold(const DrawingHold&) = delete;
  DrawingHold& operator=(const DrawingHold&) = delete;
  DrawingHold(DrawingHold&&) = delete;
  DrawingHold& operator=(DrawingHold&&) = delete;
  ~DrawingHold() {
    if (m_wasVisible) {
      SetStyle(GetWindowLongPtrW(m_window, GWL_STYLE) | WS_VISIBLE);
    }
  }

 private:
  void SetStyle(LONG_PTR style) const noexcept { SetWindowLongPtrW(m_window, GWL_STYLE, style); }

  HWND m_window;
  bool m_wasVisible;
};

// True when the two scroll bar states would be drawn alike: after a hold,
// the window's frame needs drawing only when they differ.
inline bool SameScrollBar(const SCROLLINFO& a, const SCROLLINFO& b) noexcept {
  return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

}  // namespace tesmirol
