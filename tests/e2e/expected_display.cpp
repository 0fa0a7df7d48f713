#include "e2e/expected_display.h"

#include <windows.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "codegen/init_code_generator.h"
#include "e2e/utf8_text.h"
#include "engine/baud_calculation.h"
#include "engine/deviation_text.h"

namespace tesmirol::e2e {
namespace {

constexpr UINT kGbkCodePage = 936;

constexpr bool IsHighSurrogate(wchar_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One character (one code unit, or a whole surrogate pair) in GBK, or no
// result when code page 936 has no form for it.
std::optional<std::string> GbkCharacter(std::wstring_view character) {
  const int inLength = static_cast<int>(character.size());
  BOOL usedDefault = FALSE;
  std::array<char, 8> bytes{};
  const int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, character.data(), inLength, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, &usedDefault);
  if (length <= 0 || usedDefault != FALSE) {
    return std::nullopt;
  }
  return std::string(bytes.data(), static_cast<std::size_t>(length));
}

// A GBK text as a window shows it: decoded as the system decodes code page
// 936, so that byte 0xFF (from the user's U+F8F5) shows as that character.
std::wstring WideFromGbk(std::string_view gbk) {
  if (gbk.empty()) {
    return {};
  }
  const int inLength = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, nullptr, 0);
  if (length <= 0) {
    return L"<not GBK>";
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, wide.data(), length);
  return wide;
}

std::wstring WideAscii(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

// The reload label's text for one SMOD setting, in the dialog's words.
std::wstring ReloadText(const ModeResult& mode) {
  switch (mode.status) {
    case ModeStatus::TooLow:
      return L"波特率太低";
    case ModeStatus::TooHigh:
      return L"波特率太高";
    case ModeStatus::Ok:
      break;
  }
  std::array<char, 16> digits{};
  const char* const end =
      std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<std::uint32_t>(mode.reload), 16).ptr;
  std::wstring text = L"TH = 0x";
  for (const char digit : std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data()))) {
    text += static_cast<wchar_t>(digit >= 'a' ? digit - 'a' + 'A' : digit);
  }
  return text;
}

std::wstring DeviationText(const ModeResult& mode) {
  return L"偏差：" + WideAscii(FormatDeviation(mode.deviation)) + L"%";
}

TextColour ReloadColour(const ModeResult& mode) {
  return mode.status == ModeStatus::Ok ? TextColour::kBlue : TextColour::kRed;
}

TextColour DeviationColour(const ModeResult& mode) {
  return IsOutOfTolerance(mode) ? TextColour::kRed : TextColour::kBlue;
}

TextColour PaintedColour(HWND label) {
  const std::optional<Capture> capture = CaptureWindow(label);
  return capture ? TextColourIn(*capture) : TextColour::kNone;
}

}  // namespace

void PrintTo(const ResultDisplay& display, std::ostream* out) {
  *out << "{\"" << Utf8(display.selectedCrystal) << "\", \"" << Utf8(display.range) << "\", \""
       << Utf8(display.reloadSmod0) << "\", \"" << Utf8(display.deviationSmod0) << "\", \"" << Utf8(display.reloadSmod1)
       << "\", \"" << Utf8(display.deviationSmod1) << "\", colours";
  for (const TextColour colour : display.colours) {
    *out << ' ' << colour;
  }
  *out << ", output of " << display.output.size() << " characters starting \"" << Utf8(display.output.substr(0, 60))
       << "\"}";
}

std::string GbkAsTheProgramReads(std::wstring_view boxText) {
  std::string gbk;
  for (std::size_t pos = 0; pos < boxText.size();) {
    const std::size_t length =
        IsHighSurrogate(boxText[pos]) && pos + 1 < boxText.size() && IsLowSurrogate(boxText[pos + 1]) ? 2 : 1;
    const std::optional<std::string> character = GbkCharacter(boxText.substr(pos, length));
    gbk += character ? *character : "?";
    pos += length;
  }
  return gbk;
}

std::optional<ResultDisplay> ExpectedDisplay(std::wstring_view crystalBox, std::wstring_view baudBox) {
  const std::optional<BaudCalculation> calculation =
      CalculateBaud(GbkAsTheProgramReads(crystalBox), GbkAsTheProgramReads(baudBox));
  if (!calculation) {
    return std::nullopt;
  }
  const ModeResult& smod0 = calculation->mode[0];
  const ModeResult& smod1 = calculation->mode[1];
  ResultDisplay display;
  display.selectedCrystal = L"选用晶震：" + std::to_wstring(calculation->crystalHz) + L" Hz";
  display.range =
      L"最低：" + std::to_wstring(calculation->minBps) + L"bps  最高：" + std::to_wstring(calculation->maxBps) + L"bps";
  display.reloadSmod0 = ReloadText(smod0);
  display.deviationSmod0 = DeviationText(smod0);
  display.reloadSmod1 = ReloadText(smod1);
  display.deviationSmod1 = DeviationText(smod1);
  display.colours = {TextColour::kYellow, ReloadColour(smod0), DeviationColour(smod0), ReloadColour(smod1),
                     DeviationColour(smod1)};
  const GeneratedInitCode code = GenerateInitCode(*calculation);
  if (code.outcome != GenerationOutcome::Nothing) {
    display.output = WideFromGbk(code.text);
  }
  return display;
}

ResultDisplay ShownDisplay(const MainDialog& dialog, bool withColours) {
  ResultDisplay display;
  display.selectedCrystal = dialog.Text(control::kSelectedCrystal);
  display.range = dialog.Text(control::kRange);
  display.reloadSmod0 = dialog.Text(control::kReloadSmod0);
  display.deviationSmod0 = dialog.Text(control::kDeviationSmod0);
  display.reloadSmod1 = dialog.Text(control::kReloadSmod1);
  display.deviationSmod1 = dialog.Text(control::kDeviationSmod1);
  if (withColours) {
    for (std::size_t label = 0; label < kColouredLabels.size(); ++label) {
      display.colours.at(label) = PaintedColour(dialog.Control(kColouredLabels.at(label)));
    }
  }
  display.output = dialog.Text(control::kOutputBox);
  return display;
}

std::array<TextColour, 5> WaitForLabelColours(const MainDialog& dialog, const std::array<TextColour, 5>& expected) {
  std::array<TextColour, 5> seen{};
  for (std::size_t label = 0; label < kColouredLabels.size(); ++label) {
    seen.at(label) = WaitForTextColour(dialog.Control(kColouredLabels.at(label)), expected.at(label));
  }
  return seen;
}

}  // namespace tesmirol::e2e
