#include "framework/window_subclass.h"

namespace tesmirol {

// Installs the hook.
WindowSubclass::WindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR refData) noexcept
    : m_hwnd(hwnd),
      m_procedure(procedure),
      m_id(id),
      m_installed(SetWindowSubclass(hwnd, procedure, id, refData) != FALSE) {}

// Removes the hook; a window that is already gone took it with it.
WindowSubclass::~WindowSubclass() {
  if (m_installed && IsWindow(m_hwnd) != FALSE) {
    RemoveWindowSubclass(m_hwnd, m_procedure, m_id);
  }
}

}  // namespace tesmirol
