#include "answers/rates_finder_json.h"

#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {
namespace {

// A link's verdict and this clock's largest tolerance.
void WriteVerdictSummary(JsonWriter& json, LinkVerdict verdict, std::optional<std::uint32_t> maxOwnTolerancePpm) {
  json.BeginObject();
  json.StringMember("verdict", LinkVerdictName(verdict));
  json.Key("maxOwnTolerancePpm");
  if (maxOwnTolerancePpm) {
    json.Int(*maxOwnTolerancePpm);
  } else {
    json.Null();
  }
  json.EndObject();
}

void WriteRateFit(JsonWriter& json, const RateFit& fit, bool linked) {
  json.BeginObject();
  json.IntMember("baud", fit.baud);
  json.Key("target");
  if (fit.target != nullptr) {
    json.String(fit.target->name);
  } else {
    json.Null();
  }
  json.Key("clocksPerCycle");
  if (fit.target != nullptr) {
    json.Int(fit.clocksPerCycle);
  } else {
    json.Null();
  }
  json.IntMember("smod", fit.smod);
  json.StringMember("reloadText", fit.reloadText);
  json.DoubleMember("deviation", fit.deviation);
  json.StringMember("deviationText", FormatDeviation(fit.deviation));
  if (linked) {
    json.Key("link");
    WriteVerdictSummary(json, fit.Verdict(), fit.MaxOwnTolerancePpm());
  }
  if (json.ForPage()) {
    json.StringMember("clockText", fit.target != nullptr ? ClockChoiceText(*fit.target, fit.clockIndex) : "");
  }
  json.EndObject();
}

}  // namespace

void WriteCrystalFit(JsonWriter& json, const CrystalFit& crystal, std::string_view crystalText, bool linked) {
  json.BeginObject();
  json.StringMember("crystal", crystalText);
  json.Key("rates");
  json.BeginArray();
  for (const RateFit& fit : crystal.rates) {
    WriteRateFit(json, fit, linked);
  }
  json.EndArray();
  if (linked) {
    json.Key("link");
    WriteVerdictSummary(json, crystal.rank.verdict, crystal.rank.maxOwnTolerancePpm);
  }
  json.EndObject();
}

}  // namespace tesmirol::answers
