// Measures, under Wine, how long Tesmirol's dialog takes (a) from a
// keystroke in the crystal box until every result label and the output box
// hold their new texts, and until they are repainted, and (b) from start-up
// until the dialog is shown and idle, beside the minimal dialog program
// started the same way (alone, and showing Tesmirol's dialog template).
// Prints medians and 95th percentiles; asserts nothing.
//
//   dialog_measure <Tesmirol.EXE> <minimal_dialog.exe> [keystrokes] [starts]

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "e2e/dialog_session.h"
#include "e2e/main_dialog.h"
#include "e2e/message_param.h"
#include "e2e/private_desktop.h"
#include "e2e/program_path.h"
#include "e2e/utf8_text.h"

namespace tesmirol::e2e {
namespace {

constexpr UINT kAnswerTimeoutMs = 10000;
constexpr int kFloorSamples = 50;

// Milliseconds on the performance counter.
class Stopwatch {
 public:
  Stopwatch() noexcept {
    QueryPerformanceFrequency(&m_frequency);
    QueryPerformanceCounter(&m_start);
  }
  [[nodiscard]] double ElapsedMs() const noexcept {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 / static_cast<double>(m_frequency.QuadPart);
  }

 private:
  LARGE_INTEGER m_frequency{};
  LARGE_INTEGER m_start{};
};

struct Summary {
  double median = 0;
  double p95 = 0;
  double p10 = 0;
};

// The sample of the given percentile (nearest rank) of sorted samples.
double Percentile(const std::vector<double>& sorted, std::size_t percent) {
  const std::size_t rank = (sorted.size() * percent + 99) / 100;  // ceil(percent / 100 * count)
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

// The median and the 95th and 10th percentiles of the samples.
Summary Summarize(std::vector<double> samples) {
  if (samples.empty()) {
    return {};
  }
  std::ranges::sort(samples);
  const std::size_t count = samples.size();
  const double median = count % 2 == 1 ? samples[count / 2] : (samples[count / 2 - 1] + samples[count / 2]) / 2.0;
  return {median, Percentile(samples, 95), Percentile(samples, 10)};
}

// Prints "median M ms, p95 P ms".
std::ostream& operator<<(std::ostream& out, const Summary& summary) {
  return out << "median " << summary.median << " ms, p95 " << summary.p95 << " ms";
}

// Sends a message and waits, within a bound, for the answer.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, kAnswerTimeoutMs, &result) != 0;
}

// One program to start: the executable and its command-line arguments.
struct Launch {
  std::wstring program;
  std::wstring arguments;
};

// Start-up to shown and idle, in milliseconds; no result when the program
// does not start. The session ends the process as it goes out of scope,
// outside the measured interval (a Cancel would add Wine's own two seconds
// of shutdown to the run, though not to the figure).
std::optional<double> TimeOneStart(const Launch& launch, const std::wstring& desktop) {
  const Stopwatch stopwatch;
  std::wstring failure;
  const std::optional<DialogSession> session = DialogSession::Start(launch.program, desktop, failure, launch.arguments);
  const double elapsed = stopwatch.ElapsedMs();
  if (!session) {
    std::cerr << "dialog_measure: " << Utf8(failure) << '\n';
    return std::nullopt;
  }
  return elapsed;
}

// The times of a series of keystrokes, each from the key until the dialog
// has updated, and until it has also repainted.
struct KeystrokeTimes {
  std::vector<double> updated;
  std::vector<double> painted;
};

// Sends the keys to the field one by one, key(i) being the i-th; no result
// when the dialog stops answering.
template <class KeyAt>
std::optional<KeystrokeTimes> TimeKeystrokes(HWND field, HWND window, int keystrokes, KeyAt key) {
  KeystrokeTimes times;
  for (int i = 0; i < keystrokes; ++i) {
    const Stopwatch stopwatch;
    // The edit field takes the character and the dialog recalculates within
    // this one call: the box reports the change while it handles the key.
    if (!SendAndWait(field, WM_CHAR, key(i), 1)) {
      std::cerr << "dialog_measure: the dialog stopped answering\n";
      return std::nullopt;
    }
    times.updated.push_back(stopwatch.ElapsedMs());
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendAndWait(window, WM_NULL, 0, 0);
    times.painted.push_back(stopwatch.ElapsedMs());
  }
  return times;
}

// Keystrokes in the crystal box, each a full recalculation, in two series.
// First a digit typed into the number, then Backspace: the digit makes
// 11.0592 MHz a little more, which no reload divides exactly (the warning),
// and Backspace brings the code back, so that every keystroke replaces the
// whole output text, the most an update of the box can cost. Then a letter
// typed after the unit, then Backspace: the code stays, and only its
// description line, which quotes the crystal text, changes.
bool MeasureKeystrokes(const std::wstring& program, const std::wstring& desktop, int keystrokes) {
  std::wstring failure;
  const std::optional<DialogSession> session = DialogSession::Start(program, desktop, failure);
  if (!session) {
    std::cerr << "dialog_measure: " << Utf8(failure) << '\n';
    return false;
  }
  const MainDialog dialog(*session);
  HWND field = dialog.EditFieldOf(control::kCrystalBox);
  HWND window = session->Dialog();
  // The caret goes after "11.0592", so that each digit changes the frequency.
  if (field == nullptr || !SendAndWait(field, EM_SETSEL, 7, 7)) {
    std::cerr << "dialog_measure: cannot reach the crystal box\n";
    return false;
  }
  // An even count ends each series on the text it began with.
  const int series = keystrokes + keystrokes % 2;
  const std::optional<KeystrokeTimes> wholeText = TimeKeystrokes(field, window, series, [](int i) {
    return i % 2 == 0 ? static_cast<wchar_t>(L'1' + (i / 2) % 9) : wchar_t{VK_BACK};
  });
  // The caret goes after "11.0592MHz".
  if (!wholeText || !SendAndWait(field, EM_SETSEL, 10, 10)) {
    return false;
  }
  const std::optional<KeystrokeTimes> oneLine =
      TimeKeystrokes(field, window, series, [](int i) { return i % 2 == 0 ? L'z' : wchar_t{VK_BACK}; });
  if (!oneLine) {
    return false;
  }

  // What Wine costs with no code of the program involved: a message round
  // trip, and the output box taking the generated text it shows now.
  HWND output = dialog.Control(control::kOutputBox);
  const std::wstring generated = WindowText(output);
  std::vector<double> roundTrips;
  std::vector<double> outputSets;
  for (int i = 0; i < kFloorSamples; ++i) {
    // Each sample starts with nothing left to paint, like each keystroke.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Stopwatch roundTrip;
    SendAndWait(window, WM_NULL, 0, 0);
    roundTrips.push_back(roundTrip.ElapsedMs());
    const Stopwatch outputSet;
    SendAndWait(output, WM_SETTEXT, 0, PointerParam(generated.c_str()));
    outputSets.push_back(outputSet.ElapsedMs());
  }

  std::cout << "keystroke to labels and output box updated (" << series
            << " keystrokes, the output box from the warning to the code and back): " << Summarize(wholeText->updated)
            << '\n'
            << "keystroke to updated and repainted: " << Summarize(wholeText->painted) << '\n'
            << "keystroke changing the code's description line only (" << series << " keystrokes): updated "
            << Summarize(oneLine->updated) << "; repainted " << Summarize(oneLine->painted) << '\n'
            << "  Wine alone: message round trip median " << Summarize(roundTrips).median
            << " ms; output box taking the generated text median " << Summarize(outputSets).median << " ms\n";
  return true;
}

// Start-up of Tesmirol.EXE, of the minimal dialog, and of the minimal dialog
// showing Tesmirol's dialog template with no program code behind it. Each
// round starts all three, beginning with a different one each time, so that
// none profits from the others' warm caches more often.
bool MeasureStarts(const std::wstring& program, const std::wstring& minimal, const std::wstring& desktop, int starts) {
  const std::array<Launch, 3> launches = {
      Launch{program, L""},
      Launch{minimal, L""},
      Launch{minimal, program},
  };
  std::array<std::vector<double>, 3> times;
  // The first start on a new desktop also starts its desktop process.
  for (const Launch& launch : launches) {
    if (!TimeOneStart(launch, desktop)) {
      return false;
    }
  }
  for (int round = 0; round < starts; ++round) {
    for (std::size_t turn = 0; turn < launches.size(); ++turn) {
      const std::size_t which = (static_cast<std::size_t>(round) + turn) % launches.size();
      const std::optional<double> elapsed = TimeOneStart(launches.at(which), desktop);
      if (!elapsed) {
        return false;
      }
      times.at(which).push_back(*elapsed);
    }
  }
  const Summary programSummary = Summarize(times[0]);
  const Summary minimalSummary = Summarize(times[1]);
  const Summary templateSummary = Summarize(times[2]);
  std::cout << "start-up to dialog shown and idle (" << starts << " starts each):\n"
            << "  Tesmirol.EXE                       " << programSummary << '\n'
            << "  minimal dialog                     " << minimalSummary << '\n'
            << "  Tesmirol's dialog, no program code " << templateSummary << '\n'
            << "  ratio Tesmirol.EXE / minimal dialog       " << programSummary.median / minimalSummary.median << '\n'
            << "  ratio Tesmirol.EXE / its dialog template  " << programSummary.median / templateSummary.median
            << '\n'
            // On a machine busy with other work the medians swing with what
            // the processor gives each start; the quickest starts show what
            // each program itself costs.
            << "  the same for the 10th percentiles (quickest starts): " << programSummary.p10 / minimalSummary.p10
            << " and " << programSummary.p10 / templateSummary.p10 << '\n';
  return true;
}

}  // namespace
}  // namespace tesmirol::e2e

int wmain(int argc, wchar_t** argv) {  // NOLINT(misc-use-internal-linkage): the entry point
  using tesmirol::e2e::WindowsPath;
  if (argc < 3) {
    std::cerr << "usage: dialog_measure <Tesmirol.EXE> <minimal_dialog.exe> [keystrokes] [starts]\n";
    return 2;
  }
  const std::vector<std::wstring> arguments(argv,
                                            argv + argc);  // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
  const std::wstring program = WindowsPath(arguments[1]);
  const std::wstring minimal = WindowsPath(arguments[2]);
  const int keystrokes = argc > 3 ? std::max(1, _wtoi(arguments[3].c_str())) : 400;
  const int starts = argc > 4 ? std::max(1, _wtoi(arguments[4].c_str())) : 10;

  const tesmirol::e2e::PrivateDesktop desktop;
  if (!desktop.IsReady()) {
    std::cerr << "dialog_measure: cannot create a desktop for the dialogs\n";
    return 1;
  }
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::cout << std::fixed << std::setprecision(2);
  const bool measured = tesmirol::e2e::MeasureKeystrokes(program, desktop.Name(), keystrokes) &&
                        tesmirol::e2e::MeasureStarts(program, minimal, desktop.Name(), starts);
  return measured ? 0 : 1;
}
