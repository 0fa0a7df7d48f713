// A soak of the main dialog: a long run of random user actions (typing,
// deleting, selecting text and list entries, arrow keys, pasting, copying,
// editing the output box, Return) on the real program. After every action the
// labels, their colours and the output box must be what the engine and the
// code generator give for the texts the boxes hold, or, when they give
// nothing, what the dialog showed before.
//
// The run is reproducible: TESMIROL_SOAK_SEED picks the seed (printed at the
// start) and TESMIROL_SOAK_ACTIONS the number of actions (300 by default;
// scripts/soak.sh runs a long one).

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "e2e/box_edits.h"
#include "e2e/clipboard_text.h"
#include "e2e/dialog_session.h"
#include "e2e/expected_display.h"
#include "e2e/main_dialog.h"
#include "e2e/message_param.h"
#include "e2e/program_path.h"
#include "e2e/program_under_test.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

using control::kBaudBox;
using control::kCrystalBox;

constexpr std::uint32_t kDefaultSeed = 8051;
constexpr int kDefaultActions = 300;
constexpr int kMaxReportedFaults = 5;

// Characters a user types: mostly what crystal and baud texts are made of,
// some that change how they read (signs, exponent, space, lower case,
// full-width letters, Chinese) and some that GBK has no form for.
constexpr std::wstring_view kTypedCharacters =
    L"0123456789012345678901234567890123456789....MMMKKHHzzmk-+eE 晶振ｍＭ\u0E01\u20AC";

// Texts a user pastes: inputs, numbers at the ends of 32 bits, an emoji.
constexpr std::array<std::wstring_view, 8> kPastedTexts = {L"11.0592MHz", L"9600",       L"-0",  L"2147483648",
                                                           L"1964MHz",    L"\U0001F600", L"0.5", L"4294967297"};

// What the user types into the output box.
constexpr std::wstring_view kOutputEdit = L"// ok";

enum class ActionKind {
  kType,
  kBackspace,
  kDelete,
  kReplaceSelection,
  kChooseEntry,
  kArrowKey,
  kPaste,
  kCopy,
  kEditOutput,
  kReturn,
};

constexpr std::array<std::string_view, 10> kActionNames = {"type",         "backspace", "delete", "replace selection",
                                                           "choose entry", "arrow key", "paste",  "copy",
                                                           "edit output",  "return"};

// How often each action comes, in kActionKind order.
constexpr std::array<int, 10> kActionWeights = {40, 12, 8, 8, 10, 5, 5, 5, 4, 3};

std::string_view NameOf(ActionKind kind) { return kActionNames.at(static_cast<std::size_t>(kind)); }

// A non-negative number from the environment, or the default.
std::uint32_t EnvironmentNumber(const wchar_t* name, std::uint32_t fallback) {
  const std::optional<std::wstring> value = EnvironmentValue(name);
  if (!value) {
    return fallback;
  }
  try {
    return static_cast<std::uint32_t>(std::stoul(*value));
  } catch (const std::exception&) {
    return fallback;
  }
}

class SoakDriver {
 public:
  SoakDriver(MainDialog& dialog, std::uint32_t seed) : m_dialog(dialog), m_random(seed) {}

  // Performs one random action; false when the dialog stopped answering.
  bool PerformRandomAction(std::string& description) {
    const auto kind = static_cast<ActionKind>(m_pick(m_random));
    const int boxId = Chance(2) ? kCrystalBox : kBaudBox;
    HWND field = m_dialog.EditFieldOf(boxId);
    description = std::string(NameOf(kind)) + (boxId == kCrystalBox ? " in the crystal box" : " in the baud box");
    ++m_counts[kind];
    m_outputEdited = false;
    m_actionFault.clear();
    switch (kind) {
      case ActionKind::kType: {
        const wchar_t character = kTypedCharacters.at(Below(kTypedCharacters.size()));
        description += " '" + Utf8(std::wstring(1, character)) + "'";
        return PutCaret(field) && Type(field, character);
      }
      case ActionKind::kBackspace:
        return PutCaret(field) && Type(field, VK_BACK);
      case ActionKind::kDelete:
        return PutCaret(field) && PressKey(m_dialog, field, VK_DELETE);
      case ActionKind::kReplaceSelection: {
        const int length = TextLength(field);
        const int start = static_cast<int>(Below(static_cast<std::size_t>(length) + 1));
        const int end = start + static_cast<int>(Below(static_cast<std::size_t>(length - start) + 1));
        const std::wstring_view replacement = Chance(3) ? L"" : kTypedCharacters.substr(Below(20), 1);
        return SelectRange(field, start, end) && ReplaceSelection(m_dialog, field, replacement);
      }
      case ActionKind::kChooseEntry: {
        const std::wstring entry = ListEntry(boxId);
        description += " \"" + Utf8(entry) + "\"";
        return m_dialog.ChooseInList(boxId, entry);
      }
      case ActionKind::kArrowKey:
        return PressKey(m_dialog, field, Chance(2) ? VK_DOWN : VK_UP);
      case ActionKind::kPaste: {
        const std::wstring_view text = kPastedTexts.at(Below(kPastedTexts.size()));
        description += " \"" + Utf8(text) + "\"";
        return PasteOverAll(m_dialog, field, text);
      }
      case ActionKind::kCopy:
        return Copy();
      case ActionKind::kEditOutput:
        m_outputEdited = true;
        return EditOutput();
      case ActionKind::kReturn:
        return PressKey(m_dialog, field, VK_RETURN);
    }
    return false;
  }

  // Whether the last action was an edit of the output box, which the dialog
  // keeps until its next update.
  [[nodiscard]] bool OutputEdited() const noexcept { return m_outputEdited; }
  // What went wrong in the last action itself (a copy that left something
  // else on the clipboard, an edit of the output box that did not take);
  // empty when nothing did.
  [[nodiscard]] const std::string& ActionFault() const noexcept { return m_actionFault; }

  // How many actions of each kind were made.
  void PrintCounts(std::ostream& out) const {
    for (const auto& [kind, count] : m_counts) {
      out << "  " << NameOf(kind) << ": " << count << '\n';
    }
  }

 private:
  bool Chance(int oneIn) { return Below(static_cast<std::size_t>(oneIn)) == 0; }

  std::size_t Below(std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound - 1)(m_random); }

  // A click somewhere in the field's text.
  bool PutCaret(HWND field) {
    const int position = static_cast<int>(Below(static_cast<std::size_t>(TextLength(field)) + 1));
    return SelectRange(field, position, position);
  }

  bool Type(HWND field, wchar_t character) {
    PostMessageW(field, WM_CHAR, character, 1);
    return m_dialog.Settle();
  }

  // A random entry of the box's list.
  std::wstring ListEntry(int boxId) {
    HWND box = m_dialog.Control(boxId);
    const auto count = static_cast<std::size_t>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    const auto index = static_cast<WPARAM>(Below(count));
    const auto length = static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, index, 0));
    std::wstring entry(length + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, index, PointerParam(entry.data()));
    entry.resize(length);
    return entry;
  }

  // The copy button; the clipboard must then hold the output box's text.
  bool Copy() {
    if (!EmptyClipboardNow() || !m_dialog.ClickButton(control::kCopyButton) || !m_dialog.Settle()) {
      return false;
    }
    const std::wstring shown = m_dialog.Text(control::kOutputBox);
    const std::optional<std::wstring> copied = ClipboardText();
    if (shown.empty() ? copied.has_value() && !copied->empty() : copied != shown) {
      m_actionFault = "the clipboard holds " + (copied ? std::to_string(copied->size()) + " characters" : "no text") +
                      ", the output box " + std::to_string(shown.size());
    }
    return true;
  }

  // The user types a few characters at a random place in the output box.
  bool EditOutput() {
    HWND outputBox = m_dialog.Control(control::kOutputBox);
    const int position = static_cast<int>(Below(static_cast<std::size_t>(TextLength(outputBox)) + 1));
    if (!SelectRange(outputBox, position, position)) {
      return false;
    }
    for (const wchar_t character : kOutputEdit) {
      PostMessageW(outputBox, WM_CHAR, character, 1);
    }
    if (!m_dialog.Settle()) {
      return false;
    }
    if (m_dialog.Text(control::kOutputBox).find(kOutputEdit) == std::wstring::npos) {
      m_actionFault = "the output box did not take the typed text";
    }
    return true;
  }

  MainDialog& m_dialog;
  std::mt19937 m_random;
  std::discrete_distribution<int> m_pick{kActionWeights.begin(), kActionWeights.end()};
  std::map<ActionKind, int> m_counts;
  bool m_outputEdited = false;
  std::string m_actionFault;
};

// What the dialog must show after each action. An update runs whenever a
// box's text changes. The user's own edit of the output box stays until the
// next update; an action that leaves both texts as they were may bring one
// (choosing the entry a box already shows) or not (Return, an arrow key at
// the end of the list, Backspace at the start of a text).
class DisplayModel {
 public:
  DisplayModel(ResultDisplay initial, std::wstring crystal, std::wstring baud)
      : m_last(std::move(initial)), m_crystal(std::move(crystal)), m_baud(std::move(baud)) {}

  // Takes in the box texts and the output box after an action and returns
  // what every label and the output box must show.
  const ResultDisplay& After(const std::wstring& crystal, const std::wstring& baud, bool outputEdited,
                             const std::wstring& shownOutput) {
    const std::optional<ResultDisplay> computed = ExpectedDisplay(crystal, baud);
    const bool textsChanged = crystal != m_crystal || baud != m_baud;
    m_crystal = crystal;
    m_baud = baud;
    if (textsChanged && computed) {
      m_last = *computed;
      m_userOutput = false;
    }
    if (outputEdited) {
      m_userOutput = true;
      m_last.output = shownOutput;
    } else if (m_userOutput && computed && shownOutput == computed->output) {
      m_userOutput = false;
      m_last.output = computed->output;
    }
    return m_last;
  }

  // Goes on from what the dialog shows after a fault, to find further ones.
  void Resume(const ResultDisplay& shown) { m_last = shown; }

 private:
  ResultDisplay m_last;
  std::wstring m_crystal;
  std::wstring m_baud;
  bool m_userOutput = false;
};

TEST(SoakTest, EveryRandomActionShowsWhatTheEngineGives) {
  const std::uint32_t seed = EnvironmentNumber(L"TESMIROL_SOAK_SEED", kDefaultSeed);
  const auto actions = static_cast<int>(EnvironmentNumber(L"TESMIROL_SOAK_ACTIONS", kDefaultActions));
  std::cout << "[          ] soak: " << actions << " actions, seed " << seed
            << " (TESMIROL_SOAK_SEED, TESMIROL_SOAK_ACTIONS)\n";

  std::wstring failure;
  std::optional<DialogSession> session =
      DialogSession::Start(TheProgramUnderTest().program, TheProgramUnderTest().desktop, failure);
  ASSERT_TRUE(session.has_value()) << Utf8(failure);
  MainDialog dialog(*session);
  SoakDriver driver(dialog, seed);
  const std::optional<ResultDisplay> initial = ExpectedDisplay(L"11.0592MHz", L"9600");
  ASSERT_TRUE(initial.has_value());
  DisplayModel model(*initial, L"11.0592MHz", L"9600");

  int faults = 0;
  int performed = 0;
  for (int action = 1; action <= actions && faults < kMaxReportedFaults; ++action) {
    std::string description;
    ASSERT_TRUE(driver.PerformRandomAction(description))
        << "action " << action << " (" << description << "): the dialog stopped answering";
    ASSERT_TRUE(session->IsRunning()) << "action " << action << " (" << description << "): the program ended";
    ++performed;

    const std::wstring crystal = dialog.Text(kCrystalBox);
    const std::wstring baud = dialog.Text(kBaudBox);
    ResultDisplay shown = ShownDisplay(dialog, true);
    const ResultDisplay& expected = model.After(crystal, baud, driver.OutputEdited(), shown.output);
    if (shown.colours != expected.colours) {
      shown.colours = WaitForLabelColours(dialog, expected.colours);
    }
    const std::string where = "action " + std::to_string(action) + " of seed " + std::to_string(seed) + " (" +
                              description + "), crystal box \"" + Utf8(crystal) + "\", baud box \"" + Utf8(baud) + "\"";
    if (!driver.ActionFault().empty()) {
      ADD_FAILURE() << where << ": " << driver.ActionFault();
      ++faults;
    }
    if (shown != expected) {
      ADD_FAILURE() << where << ":\n  shown    " << ::testing::PrintToString(shown) << "\n  expected "
                    << ::testing::PrintToString(expected);
      ++faults;
      model.Resume(shown);
    }
  }
  std::cout << "[          ] soak: " << performed << " actions performed, " << faults << " faults\n";
  driver.PrintCounts(std::cout);
}

}  // namespace
}  // namespace tesmirol::e2e
