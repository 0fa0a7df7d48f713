#include "e2e/box_edits.h"

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

#include "e2e/dialog_session.h"
#include "e2e/message_param.h"

namespace tesmirol::e2e {
namespace {

constexpr UINT kAnswerTimeoutMs = 10000;

// Sends a message and waits for its answer, bounded.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &result) != 0;
}

// Opens the clipboard, waiting a while when another program holds it.
bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr) != FALSE) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// A movable global block holding the text and its terminating zero; the
// clipboard takes it over once SetClipboardData succeeds.
HGLOBAL GlobalText(std::wstring_view text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) {
    return nullptr;
  }
  void* data = GlobalLock(memory);
  if (data == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memset(data, 0, bytes);
  std::memcpy(data, text.data(), text.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool PutOnClipboard(std::wstring_view text) {
  if (!OpenClipboardPatiently()) {
    return false;
  }
  HGLOBAL memory = GlobalText(text);
  const bool put =
      memory != nullptr && EmptyClipboard() != FALSE && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  if (!put && memory != nullptr) {
    GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

bool SelectRange(HWND field, int start, int end) {
  return Send(field, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

bool ReplaceAll(MainDialog& dialog, HWND field, std::wstring_view text) {
  return SelectRange(field, 0, -1) && ReplaceSelection(dialog, field, text);
}

bool ReplaceSelection(MainDialog& dialog, HWND field, std::wstring_view text) {
  const std::wstring replacement(text);
  // wParam TRUE: the edit can be undone, as a user's edit can.
  return Send(field, EM_REPLACESEL, TRUE, PointerParam(replacement.c_str())) && dialog.Settle();
}

bool PasteOverAll(MainDialog& dialog, HWND field, std::wstring_view text) {
  if (!PutOnClipboard(text) || !SelectRange(field, 0, -1)) {
    return false;
  }
  PostMessageW(field, WM_PASTE, 0, 0);
  return dialog.Settle();
}

bool PressKey(MainDialog& dialog, HWND field, WORD virtualKey) {
  PostKeyPress(field, virtualKey);
  return dialog.Settle();
}

int TextLength(HWND field) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(field, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, kAnswerTimeoutMs, &length);
  return static_cast<int>(length);
}

}  // namespace tesmirol::e2e
