#include "e2e/main_dialog.h"

#include <windows.h>

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

#include "e2e/dialog_session.h"
#include "e2e/message_param.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

constexpr UINT kAnswerTimeoutMs = 10000;
constexpr auto kDrainTimeout = std::chrono::seconds(10);

// Sends a message and returns its answer; no answer within the bound counts
// as a failure of the caller's step.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                            kAnswerTimeoutMs, &result) != 0;
  answer = static_cast<LRESULT>(result);
  return answered;
}

// The index of an entry in a combo box's list, or CB_ERR.
LRESULT FindEntry(HWND box, std::wstring_view entry) {
  const std::wstring text(entry);
  LRESULT index = CB_ERR;
  if (!Send(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), PointerParam(text.c_str()), index)) {
    return CB_ERR;
  }
  return index;
}

}  // namespace

void PrintTo(const ShownTexts& texts, std::ostream* out) {
  *out << "{crystal box \"" << Utf8(texts.crystalBox) << "\", baud box \"" << Utf8(texts.baudBox) << "\", \""
       << Utf8(texts.selectedCrystal) << "\", \"" << Utf8(texts.range) << "\", \"" << Utf8(texts.reloadSmod0)
       << "\", \"" << Utf8(texts.deviationSmod0) << "\", \"" << Utf8(texts.reloadSmod1) << "\", \""
       << Utf8(texts.deviationSmod1) << "\", output of " << texts.output.size() << " characters starting \""
       << Utf8(texts.output.substr(0, 40)) << "\"}";
}

bool MainDialog::ChooseInList(int boxId, std::wstring_view entry) {
  HWND box = Control(boxId);
  const LRESULT index = FindEntry(box, entry);
  LRESULT answer = 0;
  // CB_SETCURSEL alone tells the dialog nothing; the notification is what the
  // box sends when the user's click changes the selection.
  return index != CB_ERR && Send(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0, answer) &&
         Send(m_session.Dialog(), WM_COMMAND, MAKEWPARAM(boxId, CBN_SELCHANGE), PointerParam(box), answer) && Settle();
}

bool MainDialog::ArrowDownTo(int boxId, std::wstring_view entry) {
  HWND box = Control(boxId);
  const LRESULT index = FindEntry(box, entry);
  LRESULT answer = 0;
  if (index == CB_ERR || index == 0 || !Send(box, CB_SETCURSEL, static_cast<WPARAM>(index - 1), 0, answer)) {
    return false;
  }
  PostKeyPress(EditFieldOf(boxId), VK_DOWN);
  return Settle();
}

bool MainDialog::TypeInto(int boxId, std::wstring_view text) {
  HWND field = EditFieldOf(boxId);
  LRESULT answer = 0;
  if (field == nullptr || !Send(field, EM_SETSEL, 0, -1, answer)) {
    return false;
  }
  if (text.empty()) {
    PostMessageW(field, WM_CHAR, VK_BACK, KeyData(VK_BACK, false));
  }
  for (const wchar_t character : text) {
    PostMessageW(field, WM_CHAR, character, 1);
  }
  return Settle();
}

bool MainDialog::ClickButton(int buttonId) const {
  LRESULT answer = 0;
  return Send(Control(buttonId), BM_CLICK, 0, 0, answer);
}

bool MainDialog::Settle() {
  // A sent message overtakes the messages posted before it, so a sent
  // round trip alone proves nothing about posted keys. Instead post a
  // marker behind them, a value stored as the item data of the crystal
  // list's first entry (which the program never reads), and wait until it
  // can be read back: everything posted before it has then been handled.
  HWND box = Control(control::kCrystalBox);
  const LPARAM marker = 0x7E570000 + (++m_marker);
  if (PostMessageW(box, CB_SETITEMDATA, 0, marker) == FALSE) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + kDrainTimeout;
  LRESULT stored = 0;
  while (Send(box, CB_GETITEMDATA, 0, 0, stored) && stored != marker) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return stored == marker && m_session.WaitUntilIdle();
}

HWND MainDialog::EditFieldOf(int boxId) const { return FindWindowExW(Control(boxId), nullptr, L"Edit", nullptr); }

ShownTexts MainDialog::Shown() const {
  return ShownTexts{
      .crystalBox = Text(control::kCrystalBox),
      .baudBox = Text(control::kBaudBox),
      .selectedCrystal = Text(control::kSelectedCrystal),
      .range = Text(control::kRange),
      .reloadSmod0 = Text(control::kReloadSmod0),
      .deviationSmod0 = Text(control::kDeviationSmod0),
      .reloadSmod1 = Text(control::kReloadSmod1),
      .deviationSmod1 = Text(control::kDeviationSmod1),
      .output = Text(control::kOutputBox),
  };
}

}  // namespace tesmirol::e2e
