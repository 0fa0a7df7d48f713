#pragma once
// An installed SetWindowSubclass hook, removed again when its owner dies.

#include <windows.h>

#include <commctrl.h>  // needs the types of windows.h

namespace tesmirol {

class WindowSubclass {
 public:
  // Hooks procedure into hwnd's messages with refData; check Installed().
  WindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR refData) noexcept;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  WindowSubclass(WindowSubclass&&) = delete;
  WindowSubclass& operator=(WindowSubclass&&) = delete;
  ~WindowSubclass();

  // True when the hook is in place.
  [[nodiscard]] bool Installed() const noexcept { return m_installed; }

 private:
  HWND m_hwnd;
  SUBCLASSPROC m_procedure;
  UINT_PTR m_id;
  bool m_installed;
};

}  // namespace tesmirol
