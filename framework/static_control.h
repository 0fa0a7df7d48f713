#pragma once
// CStatic: a static text control of a dialog.

#include <windows.h>

#include <string>

#include "framework/repaint_batch.h"
#include "framework/wnd.h"

namespace tesmirol {

class CStatic : public CWnd {
 public:
  // Sets the text, with the repaint it needs joining the batch; does
  // nothing while the object stands for no window.
  void SetTextInBatch(const std::wstring& text, RepaintBatch& batch);

 protected:
  // WM_SETTEXT stores the text and leaves it to the next paint. The static
  // control itself would paint it at once, which costs Wine a good part of
  // a millisecond for every change; the next paint shows the same.
  LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Has the control repainted after a text was set: through the batch
  // while SetTextInBatch runs, otherwise at once; with the parent's area
  // under it when the old text's pixels lie on the parent's background.
  void RequestRepaint(bool withParentArea) const noexcept;

 private:
  RepaintBatch* m_batch = nullptr;
};

}  // namespace tesmirol
