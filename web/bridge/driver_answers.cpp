#include "web/bridge/driver_answers.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "answers/json_writer.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"
#include "web/bridge/target_answers.h"

namespace tesmirol::web {
namespace {

// The driver's requests: the one UART's best setting, or the plan's, with
// the link's UART mode and notes.
std::optional<std::vector<TargetCodeRequest>> DriverRequests(const PlanTexts& texts, const LinkTexts& link,
                                                             Language language) {
  if (texts.requests.size() == 1) {
    const PlanRequestTexts& only = texts.requests.front();
    auto request = TargetDriverRequest(texts.crystal, only.baud, texts.target, only.uart, link, language);
    return request ? std::optional(std::vector<TargetCodeRequest>{*request}) : std::nullopt;
  }
  return PlanDriverRequests(texts, link, language);
}

bool IsValidSize(const std::vector<std::uint32_t>& sizes, std::uint32_t size) {
  return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
}

// The options with the memory of the chip the page's target names, as
// tesmirol-cli --target gives them, so that both refuse the same drivers.
DriverOptions ForChip(DriverOptions options, std::u16string_view target) {
  const std::string name = text::Utf16ToGbk(target).value_or(std::string());
  if (const auto memory = DriverChipMemory(name)) {
    options.memory = *memory;
    options.chip = name;
  }
  return options;
}

std::string Utf8(const std::string& gbk) { return text::GbkToUtf8(gbk).value_or(std::string()); }

}  // namespace

DriverOptions MakeDriverOptions(bool polled, std::uint32_t rxSize, std::uint32_t txSize, bool xdata) {
  DriverOptions options;
  if (polled) {
    options.kind = DriverKind::Polled;
    return options;
  }
  options.rxSize = rxSize;
  options.txSize = txSize;
  options.space = xdata ? BufferSpace::Xdata : BufferSpace::Idata;
  return options;
}

std::string DriverFilesJson(const PlanTexts& texts, const DriverOptions& options, const LinkTexts& link) {
  const DriverOptions chosen = ForChip(options, texts.target);
  JsonWriter json;
  json.BeginObject();
  json.Key("status");
  const auto requests = DriverRequests(texts, link, Language::Chinese);
  const std::vector<std::uint32_t> sizes = ValidBufferSizes(options.space);
  if (!requests) {
    json.String("noCode");
  } else if (!IsValidSize(sizes, options.rxSize) || !IsValidSize(sizes, options.txSize)) {
    json.String("badSize");
  } else if (const auto refusal =
                 CheckDriverOptions(chosen, requests->size(), DriversFrame(*requests), Language::English)) {
    json.String("refused");
    json.Key("message");
    json.BeginObject();
    json.StringMember("zh",
                      Utf8(*CheckDriverOptions(chosen, requests->size(), DriversFrame(*requests), Language::Chinese)));
    json.StringMember("en", Utf8(*refusal));
    json.EndObject();
  } else {
    json.String("ok");
    json.Key("files");
    json.BeginArray();
    for (const TargetCodeRequest& request : *requests) {
      json.String(DriverName(*request.target) + ".h");
      json.String(DriverName(*request.target) + ".c");
    }
    json.EndArray();
    json.StringMember("oneFile",
                      requests->size() == 1 ? DriverName(*requests->front().target) + "_driver.c" : "uart_driver.c");
  }
  // The chip's default size, which the page takes until the user picks one.
  json.IntMember("defaultSize", DefaultBufferSize(chosen.memory));
  json.Key("sizes");
  json.BeginArray();
  for (const std::uint32_t size : sizes) {
    json.Int(size);
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::optional<std::string> DriverFileBytes(const PlanTexts& texts, const DriverOptions& options, std::int32_t index,
                                           CodeEncoding encoding, bool lineFeedsOnly, Language language,
                                           const LinkTexts& link) {
  const DriverOptions chosen = ForChip(options, texts.target);
  const auto requests = DriverRequests(texts, link, language);
  if (!requests || CheckDriverOptions(chosen, requests->size(), DriversFrame(*requests))) {
    return std::nullopt;
  }
  if (index < 0) {
    return EncodeGeneratedCode(GenerateDriverText(*requests, chosen, language), encoding, lineFeedsOnly);
  }
  const std::vector<DriverFiles> files = GenerateDriverFiles(*requests, chosen, language);
  const auto which = static_cast<std::size_t>(index);
  if (which / 2 >= files.size()) {
    return std::nullopt;
  }
  const DriverFiles& pair = files[which / 2];
  return EncodeGeneratedCode(which % 2 == 0 ? pair.header : pair.source, encoding, lineFeedsOnly);
}

}  // namespace tesmirol::web
