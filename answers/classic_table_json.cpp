#include "answers/classic_table_json.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "codegen/init_code_generator.h"
#include "engine/deviation_text.h"
#include "engine/reload_text.h"

namespace tesmirol::answers {

void WriteClassicTableRow(JsonWriter& json, std::string_view crystalUtf8, std::string_view baudUtf8,
                          const std::optional<BaudCalculation>& calculation) {
  json.BeginObject();
  json.StringMember("crystal", crystalUtf8);
  json.StringMember("baud", baudUtf8);
  if (!calculation) {
    for (const std::string_view key : {"crystalHz", "modes", "outcome", "chosenSmod"}) {
      json.Key(key);
      json.Null();
    }
    json.EndObject();
    return;
  }
  json.IntMember("crystalHz", calculation->crystalHz);
  json.Key("modes");
  json.BeginArray();
  for (std::size_t smod = 0; smod < calculation->mode.size(); ++smod) {
    const ModeResult& mode = calculation->mode.at(smod);
    json.BeginObject();
    json.IntMember("smod", static_cast<std::int64_t>(smod));
    json.IntMember("reload", mode.reload);
    json.StringMember("reloadText", FormatReload(mode.reload));
    json.StringMember("status", ModeStatusName(mode.status));
    json.IntMember("achieved", mode.achieved);
    json.DoubleMember("deviation", mode.deviation);
    json.StringMember("deviationText", FormatDeviation(mode.deviation));
    json.BoolMember("outOfTolerance", IsOutOfTolerance(mode));
    json.EndObject();
  }
  json.EndArray();
  const InitCodeChoice choice = ChooseInitCodeSetting(*calculation);
  json.StringMember("outcome", GenerationOutcomeName(choice.outcome));
  json.Key("chosenSmod");
  if (choice.outcome == GenerationOutcome::Code) {
    json.Int(static_cast<std::int64_t>(choice.smod));
  } else {
    json.Null();
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
