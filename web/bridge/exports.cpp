// The functions the WebAssembly module exports to the page. The page writes
// its texts as UTF-16 code units into the input buffer, calls one function,
// and reads the answer (JSON text or file bytes) from the output buffer.
// Every number and every byte comes from the engine and the generator; the
// page only shows them.
//
// kBridgeVersion changes whenever a function here changes its meaning, so a
// page and a module that do not belong together refuse to run.

#include <cstdint>
#include <string>
#include <string_view>

#include "web/bridge/page_answers.h"
#include "web/bridge/target_answers.h"

namespace {

constexpr std::int32_t kBridgeVersion = 2;

std::u16string& Input() {
  static std::u16string input;
  return input;
}

std::string& Output() {
  static std::string output;
  return output;
}

// A text of the input buffer.
std::u16string_view InputText(std::uint32_t offset, std::uint32_t units) {
  return std::u16string_view(Input()).substr(offset, units);
}

std::int32_t Answer(std::string answer) {
  Output() = std::move(answer);
  return static_cast<std::int32_t>(Output().size());
}

}  // namespace

#define TESMIROL_EXPORT(name) extern "C" __attribute__((export_name(#name)))  // NOLINT(cppcoreguidelines-macro-usage)

TESMIROL_EXPORT(tesmirol_bridge_version) std::int32_t TesmirolBridgeVersion() { return kBridgeVersion; }

// Room for units UTF-16 code units; the page writes its texts there.
TESMIROL_EXPORT(tesmirol_input) char16_t* TesmirolInput(std::uint32_t units) {
  Input().assign(units, u'\0');
  return Input().data();
}

TESMIROL_EXPORT(tesmirol_output_data) const char* TesmirolOutputData() { return Output().data(); }

TESMIROL_EXPORT(tesmirol_output_size) std::uint32_t TesmirolOutputSize() {
  return static_cast<std::uint32_t>(Output().size());
}

// The crystal text is the first crystalUnits code units of the input, the
// baud text the baudUnits after them. Answers the calculation as JSON.
TESMIROL_EXPORT(tesmirol_calculate)
std::int32_t TesmirolCalculate(std::uint32_t crystalUnits, std::uint32_t baudUnits) {
  return Answer(tesmirol::web::CalculationJson(InputText(0, crystalUnits), InputText(crystalUnits, baudUnits)));
}

// The input is the baud text. Answers the crystal finder's rows as JSON.
TESMIROL_EXPORT(tesmirol_crystal_table) std::int32_t TesmirolCrystalTable(std::uint32_t baudUnits) {
  return Answer(tesmirol::web::CrystalTableJson(InputText(0, baudUnits)));
}

TESMIROL_EXPORT(tesmirol_presets) std::int32_t TesmirolPresets() { return Answer(tesmirol::web::PresetsJson()); }

TESMIROL_EXPORT(tesmirol_targets) std::int32_t TesmirolTargets() { return Answer(tesmirol::web::TargetsJson()); }

// The crystal text, the baud text and the target's name, one after the other
// in the input. Answers the target's solution as JSON.
TESMIROL_EXPORT(tesmirol_solve_target)
std::int32_t TesmirolSolveTarget(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits) {
  return Answer(tesmirol::web::TargetSolutionJson(InputText(0, crystalUnits), InputText(crystalUnits, baudUnits),
                                                  InputText(crystalUnits + baudUnits, targetUnits)));
}

// The baud text and the target's name. Answers the crystal finder's rows on
// that target as JSON.
TESMIROL_EXPORT(tesmirol_target_table)
std::int32_t TesmirolTargetTable(std::uint32_t baudUnits, std::uint32_t targetUnits) {
  return Answer(tesmirol::web::TargetTableJson(InputText(0, baudUnits), InputText(baudUnits, targetUnits)));
}

// As tesmirol_solve_target's input; answers as tesmirol_code_bytes does.
TESMIROL_EXPORT(tesmirol_target_code_bytes)
std::int32_t TesmirolTargetCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::uint32_t targetUnits,
                                     std::int32_t gbk, std::int32_t lineFeeds) {
  auto bytes = tesmirol::web::TargetCodeBytes(
      InputText(0, crystalUnits), InputText(crystalUnits, baudUnits), InputText(crystalUnits + baudUnits, targetUnits),
      gbk != 0 ? tesmirol::CodeEncoding::Gbk : tesmirol::CodeEncoding::Utf8, lineFeeds != 0);
  if (!bytes) {
    Answer(std::string());
    return -1;
  }
  return Answer(std::move(*bytes));
}

// As tesmirol_calculate's input. Answers the bytes of the generated code
// (GBK when gbk is not 0, else UTF-8; LF line ends when lineFeeds is not 0),
// or -1 with an empty output when the inputs give no code.
TESMIROL_EXPORT(tesmirol_code_bytes)
std::int32_t TesmirolCodeBytes(std::uint32_t crystalUnits, std::uint32_t baudUnits, std::int32_t gbk,
                               std::int32_t lineFeeds) {
  auto bytes = tesmirol::web::InitCodeBytes(InputText(0, crystalUnits), InputText(crystalUnits, baudUnits),
                                            gbk != 0 ? tesmirol::CodeEncoding::Gbk : tesmirol::CodeEncoding::Utf8,
                                            lineFeeds != 0);
  if (!bytes) {
    Answer(std::string());
    return -1;
  }
  return Answer(std::move(*bytes));
}
