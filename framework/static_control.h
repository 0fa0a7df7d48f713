#pragma once
// CStatic: a static text control of a dialog.

#include <windows.h>

#include <string>

#include "framework/wnd.h"

namespace tesmirol {

class CStatic : public CWnd {
 public:
  // Sets the text, unless the control shows it already.
  void ShowText(const std::wstring& text) const;

 protected:
  // WM_SETTEXT stores the text and leaves it to the next paint. The static
  // control itself would paint it at once, which costs Wine a good part of
  // a millisecond for every change; the next paint shows the same.
  LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tesmirol
