#pragma once
// A desktop of the test's own, so that the dialogs it starts live on the
// test's display and beside no other program's windows, even while other
// Wine programs of the same prefix run on another display.

#include <string>

#include <windows.h>

namespace tesmirol::e2e {

class PrivateDesktop {
 public:
  // Creates a desktop named after this process and moves the calling thread
  // to it; call before the thread creates any window.
  PrivateDesktop();
  // Ends the desktop's own process (under Wine, the explorer that draws it),
  // so that it does not outlive the display it was started on.
  ~PrivateDesktop();
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;
  PrivateDesktop(PrivateDesktop&&) = delete;
  PrivateDesktop& operator=(PrivateDesktop&&) = delete;

  // False when the desktop could not be made.
  [[nodiscard]] bool IsReady() const noexcept { return m_desktop != nullptr; }
  // The name to start programs on it with (STARTUPINFO's lpDesktop).
  [[nodiscard]] const std::wstring& Name() const noexcept { return m_name; }

 private:
  std::wstring m_name;
  HDESK m_desktop = nullptr;
};

}  // namespace tesmirol::e2e
