#include "answers/driver_answer.h"

#include <algorithm>
#include <cstddef>

#include "answers/target_question.h"
#include "engine/target_catalogue.h"
#include "engine/texts.h"
#include "text/encoding.h"

namespace tesmirol::answers {
namespace {

// The driver's requests: the one UART's best setting, or the plan's, with
// the link's UART mode and notes.
std::optional<std::vector<TargetCodeRequest>> DriverRequests(const PlanTexts& texts, const LinkTexts& link,
                                                             Language language) {
  if (texts.requests.size() == 1) {
    const PlanRequestTexts& only = texts.requests.front();
    const auto request = TargetDriverRequest(
        AnswerTargetQuestion(ReadTargetQuestion(texts.crystal, only.baud, texts.target, only.uart), link, language),
        language);
    return request ? std::optional(std::vector<TargetCodeRequest>{*request}) : std::nullopt;
  }
  const PlanQuestionAnswer plan = AnswerPlanQuestion(ReadPlanQuestion(texts, link), language);
  if (!plan.answer || plan.answer->code.outcome != GenerationOutcome::Code) {
    return std::nullopt;
  }
  return plan.answer->requests;
}

bool IsValidSize(const std::vector<std::uint32_t>& sizes, std::uint32_t size) {
  return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
}

// The options with the memory of the chip the target names.
DriverOptions ForChip(DriverOptions options, const GbkText& target) {
  const std::string name = target.value_or(std::string());
  if (const auto memory = DriverChipMemory(name)) {
    options.memory = *memory;
    options.chip = name;
  }
  return options;
}

std::string Utf8(const std::string& gbk) { return text::GbkToUtf8(gbk).value_or(std::string()); }

// The command line's refusal of an RS-485 pin's text (GBK) that names no port bit.
std::string BadRs485Text(const std::string& pin, Language language) {
  return FormatText(language, TextKey::UsageBadRs485, {{"value", pin}});
}

}  // namespace

std::optional<std::string> RefuseDriver(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                                        Language language) {
  const auto refused = std::find_if(requests.begin(), requests.end(), [&](const TargetCodeRequest& request) {
    return CheckRs485(request, options, language).has_value();
  });
  if (refused != requests.end()) {
    return CheckRs485(*refused, options, language);
  }
  return CheckDriverOptions(options, requests.size(), DriversFrame(requests), language);
}

DriverChoiceReading ReadDriverChoices(const DriverChoices& choices) {
  DriverChoiceReading reading;
  DriverOptions& options = reading.options;
  options.registerBank = choices.registerBank;
  options.crlf = choices.crlf;
  if (!choices.rs485 || !choices.rs485->empty()) {
    options.rs485 = ReadRs485Pin(choices.rs485.value_or(std::string()));
    if (!options.rs485) {
      reading.badRs485 = choices.rs485.value_or(std::string());
    }
  }
  if (choices.polled) {
    options.kind = DriverKind::Polled;
    return reading;
  }
  options.rxSize = choices.rxSize;
  options.txSize = choices.txSize;
  options.space = choices.xdata ? BufferSpace::Xdata : BufferSpace::Idata;
  return reading;
}

DriverAnswer AnswerDriver(const PlanTexts& texts, const DriverChoices& choices, const LinkTexts& link,
                          Language language) {
  const DriverChoiceReading reading = ReadDriverChoices(choices);
  DriverAnswer answer{"ok", std::nullopt, ForChip(reading.options, texts.target), std::nullopt,
                      ValidBufferSizes(reading.options.space)};
  if (reading.badRs485) {
    // A pin that names no port bit is refused whatever the inputs, as the command line refuses it.
    answer.status = "badRs485";
    answer.refused = BadRs485Text(*reading.badRs485, language);
    return answer;
  }
  answer.requests = DriverRequests(texts, link, language);
  const DriverOptions& options = answer.options;
  if (!answer.requests) {
    answer.status = "noCode";
  } else if (!IsValidSize(answer.sizes, options.rxSize) || !IsValidSize(answer.sizes, options.txSize)) {
    answer.status = "badSize";
  } else {
    answer.refused = RefuseDriver(*answer.requests, options, language);
    answer.status = answer.refused ? "refused" : "ok";
  }
  return answer;
}

void WriteDriverAnswer(JsonWriter& json, const PlanTexts& texts, const DriverChoices& choices, const LinkTexts& link) {
  // The code's comments do not change the files' names; the refusal's reason is given in both languages.
  const DriverAnswer answer = AnswerDriver(texts, choices, link, Language::English);
  json.BeginObject();
  json.StringMember("status", answer.status);
  if (answer.refused) {
    json.Key("message");
    json.BeginObject();
    const std::optional<std::string> badRs485 = ReadDriverChoices(choices).badRs485;
    json.StringMember(
        "zh",
        Utf8(badRs485 ? BadRs485Text(*badRs485, Language::Chinese)
                      : RefuseDriver(*answer.requests, answer.options, Language::Chinese).value_or(std::string())));
    json.StringMember("en", Utf8(*answer.refused));
    json.EndObject();
  } else if (answer.status == "ok") {
    const std::vector<TargetCodeRequest>& requests = *answer.requests;
    json.Key("files");
    json.BeginArray();
    for (const TargetCodeRequest& request : requests) {
      json.String(DriverName(*request.target) + ".h");
      json.String(DriverName(*request.target) + ".c");
    }
    json.EndArray();
    json.StringMember("oneFile",
                      requests.size() == 1 ? DriverName(*requests.front().target) + "_driver.c" : "uart_driver.c");
  }
  // The chip's default size, which the page takes until the user picks one.
  json.IntMember("defaultSize", DefaultBufferSize(answer.options.memory));
  json.Key("sizes");
  json.BeginArray();
  for (const std::uint32_t size : answer.sizes) {
    json.Int(size);
  }
  json.EndArray();
  json.EndObject();
}

std::optional<std::string> DriverFileText(const DriverAnswer& answer, std::int32_t index, Language language) {
  // A size the space does not allow is the page's to refuse; the chip's memory is checked here.
  if (!answer.requests || RefuseDriver(*answer.requests, answer.options, language)) {
    return std::nullopt;
  }
  if (index < 0) {
    return GenerateDriverText(*answer.requests, answer.options, language);
  }
  const std::vector<DriverFiles> files = GenerateDriverFiles(*answer.requests, answer.options, language);
  const auto which = static_cast<std::size_t>(index);
  if (which / 2 >= files.size()) {
    return std::nullopt;
  }
  const DriverFiles& pair = files[which / 2];
  return which % 2 == 0 ? pair.header : pair.source;
}

}  // namespace tesmirol::answers
