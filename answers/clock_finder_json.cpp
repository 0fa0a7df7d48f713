#include "answers/clock_finder_json.h"

#include <cstddef>

#include "answers/plan_entry_json.h"
#include "answers/setting_json.h"
#include "engine/deviation_text.h"
#include "engine/target_texts.h"

namespace tesmirol::answers {
namespace {

// Clocks, their steps and the relative errors' terms are below 2^46: whole
// numbers on both faces.
void WholeMember(JsonWriter& json, std::string_view name, std::uint64_t value) {
  json.IntMember(name, static_cast<std::int64_t>(value));
}

void WriteSpan(JsonWriter& json, const ClockSpan& span) {
  json.BeginObject();
  const bool steps = !span.steps.empty();
  for (const auto& [name, value] : {std::pair{"low", span.low}, std::pair{"high", span.high}}) {
    json.Key(name);
    if (steps) {
      json.Null();
    } else {
      json.Int(static_cast<std::int64_t>(value));
    }
  }
  json.Key("steps");
  if (steps) {
    json.BeginArray();
    for (const std::uint64_t step : span.steps) {
      json.Int(static_cast<std::int64_t>(step));
    }
    json.EndArray();
  } else {
    json.Null();
  }
  json.EndObject();
}

void WriteClock(JsonWriter& json, const ClockCandidate& clock) {
  json.BeginObject();
  WholeMember(json, "hertz", clock.hertz);
  json.StringMember("text", ClockText(clock.hertz));
  json.BoolMember("exact", clock.exact);
  WholeMember(json, "worstNumerator", static_cast<std::uint64_t>(clock.worst.numerator));
  WholeMember(json, "worstDenominator", static_cast<std::uint64_t>(clock.worst.denominator));
  json.DoubleMember("worstDeviation", clock.worstDeviation);
  json.StringMember("worstDeviationText", FormatDeviation(clock.worstDeviation));
  WholeMember(json, "worstIndex", clock.worstIndex);
  json.Key("common");
  json.BeginObject();
  json.StringMember("kind", CommonClockKindName(clock.commonKind));
  WholeMember(json, "hertz", clock.commonHertz);
  WholeMember(json, "distance", clock.commonDistance);
  if (json.ForPage()) {
    json.StringMember("text", ClockText(clock.commonHertz));
  }
  json.EndObject();
  json.Key("rates");
  if (clock.plan) {
    json.Null();
  } else {
    json.BeginArray();
    for (const ClockRateSetting& rate : clock.rates) {
      json.BeginObject();
      json.IntMember("baud", rate.baud);
      json.StringMember("target", rate.target->name);
      json.StringMember("timer", rate.target->timer);
      json.StringMember("clock", ClockChoiceText(*rate.target, rate.setting.clockIndex));
      json.Key("setting");
      WriteSetting(json, *rate.target, rate.setting);
      json.EndObject();
    }
    json.EndArray();
  }
  json.Key("plan");
  if (clock.plan) {
    json.BeginArray();
    for (std::size_t index = 0; index < clock.plan->uarts.size(); ++index) {
      WritePlanEntry(json, *clock.plan, index);
    }
    json.EndArray();
  } else {
    json.Null();
  }
  json.EndObject();
}

}  // namespace

std::string ClockText(std::uint64_t hertz) {
  // Up to six decimals of a megahertz or three of a kilohertz: exact, as
  // the reader takes them back.
  const auto scaled = [hertz](std::uint64_t unit, int places, const char* suffix) {
    const std::string text = std::to_string(hertz / unit);
    std::string fraction = std::to_string(hertz % unit + unit).substr(1, static_cast<std::size_t>(places));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return text + (fraction.empty() ? "" : "." + fraction) + suffix;
  };
  if (hertz >= 1000000) {
    return scaled(1000000, 6, "MHz");
  }
  if (hertz >= 1000) {
    return scaled(1000, 3, "KHz");
  }
  return std::to_string(hertz) + "Hz";
}

void WriteClockMembers(JsonWriter& json, const ClockAsk& ask, const ClockAnswer& answer) {
  const ClockFinderResult& result = answer.result;
  json.StringMember("target", ask.targetName);
  json.Key("uart");
  if (ask.uart) {
    json.String(*ask.uart);
  } else {
    json.Null();
  }
  json.Key("rates");
  if (ask.requests.empty()) {
    json.BeginArray();
    for (const std::int32_t rate : ask.rates) {
      json.Int(rate);
    }
    json.EndArray();
    json.Key("uarts");
    json.Null();
  } else {
    json.Null();
    json.Key("uarts");
    json.BeginArray();
    for (const UartRequest& request : ask.requests) {
      json.BeginObject();
      json.StringMember("uart", request.uart);
      json.IntMember("baud", request.baud);
      json.EndObject();
    }
    json.EndArray();
  }
  json.Key("range");
  WriteSpan(json, answer.span);
  json.DoubleMember("tolerance", ask.tolerancePercent);
  WholeMember(json, "limit", ask.limit);
  json.StringMember("status", ClockFinderStatusName(result.status));
  json.Key("rateIndex");
  if (result.rateIndex) {
    json.Int(static_cast<std::int64_t>(*result.rateIndex));
  } else {
    json.Null();
  }
  WholeMember(json, "exactCount", result.exactCount);
  json.BoolMember("nearSkipped", result.nearSkipped);
  json.Key("clocks");
  json.BeginArray();
  for (const ClockCandidate& clock : result.clocks) {
    WriteClock(json, clock);
  }
  json.EndArray();
}

}  // namespace tesmirol::answers
