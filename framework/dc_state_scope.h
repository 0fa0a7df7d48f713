#pragma once
// Temporary changes to a device context's state, undone when the scope ends:
// a painter leaves the DC as it found it, whichever way it returns.

#include <windows.h>

namespace tesmirol {

// Selects a GDI object into a DC and selects the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  SelectObjectScope(SelectObjectScope&&) = delete;
  SelectObjectScope& operator=(SelectObjectScope&&) = delete;
  ~SelectObjectScope() {
    // Selecting a font, brush or pen gives null when it fails: nothing to undo.
    if (m_previous != nullptr) {
      SelectObject(m_dc, m_previous);
    }
  }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// Sets a DC's background mode (TRANSPARENT, OPAQUE) and restores the old one.
class BkModeScope {
 public:
  BkModeScope(HDC dc, int mode) noexcept : m_dc(dc), m_previous(SetBkMode(dc, mode)) {}
  BkModeScope(const BkModeScope&) = delete;
  BkModeScope& operator=(const BkModeScope&) = delete;
  BkModeScope(BkModeScope&&) = delete;
  BkModeScope& operator=(BkModeScope&&) = delete;
  ~BkModeScope() {
    if (m_previous != 0) {
      SetBkMode(m_dc, m_previous);
    }
  }

 private:
  HDC m_dc;
  int m_previous;
};

// Sets a DC's text colour and restores the old one.
class TextColorScope {
 public:
  TextColorScope(HDC dc, COLORREF color) noexcept : m_dc(dc), m_previous(SetTextColor(dc, color)) {}
  TextColorScope(const TextColorScope&) = delete;
  TextColorScope& operator=(const TextColorScope&) = delete;
  TextColorScope(TextColorScope&&) = delete;
  TextColorScope& operator=(TextColorScope&&) = delete;
  ~TextColorScope() {
    if (m_previous != CLR_INVALID) {
      SetTextColor(m_dc, m_previous);
    }
  }

 private:
  HDC m_dc;
  COLORREF m_previous;
};

}  // namespace tesmirol
