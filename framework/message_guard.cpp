#include "framework/message_guard.h"

#include "framework/message_box.h"

namespace tesmirol {

// Validates a failed paint, then reports the failure.
void RecoverFromFailedMessage(HWND hwnd, UINT message) noexcept {
  if (message == WM_PAINT && hwnd != nullptr) {
    ValidateRect(hwnd, nullptr);
  }
  ReportOutOfMemory();
}

}  // namespace tesmirol
