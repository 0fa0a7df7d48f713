#include "cli/option_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

#include "answers/finder_texts.h"
#include "answers/reload_answer.h"
#include "cli/utf8_text.h"
#include "engine/exact_crystal.h"
#include "engine/target_catalogue.h"
#include "text/encoding.h"

namespace tesmirol::cli {
namespace {

// A whole number in the given base that fills the text exactly.
template <typename Number>
std::optional<Number> ParseWhole(std::string_view text, int base) {
  Number value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return lower;
}

std::optional<std::uint32_t> ParseReload(std::string_view text) { return answers::ReadReloadText(text); }

std::optional<double> ParsePercent(std::string_view text) { return answers::ReadPercent(text); }

std::optional<CodeEncoding> ParseEncoding(std::string_view text) {
  const std::string name = LowerCase(text);
  if (name == "utf-8" || name == "utf8") {
    return CodeEncoding::Utf8;
  }
  if (name == "gbk") {
    return CodeEncoding::Gbk;
  }
  return std::nullopt;
}

std::optional<TableFormat> ParseFormat(std::string_view text) {
  const std::string name = LowerCase(text);
  if (name == "text") {
    return TableFormat::Text;
  }
  if (name == "csv") {
    return TableFormat::Csv;
  }
  if (name == "markdown") {
    return TableFormat::Markdown;
  }
  if (name == "json") {
    return TableFormat::Json;
  }
  return std::nullopt;
}

std::optional<std::vector<std::int32_t>> ParseRates(std::string_view text) { return answers::ReadRateList(text); }

std::optional<ClockRangeProblem> ParseClockRange(std::string_view text, ClockRange& range) {
  const auto gbk = text::Utf8ToGbk(text);
  if (!gbk) {
    // A text that is not GBK has no frequency on either side.
    return text.find("..") == std::string_view::npos ? ClockRangeProblem::NotRange : ClockRangeProblem::NotWholeHertz;
  }
  answers::ClockBounds bounds;
  const auto problem = answers::ReadClockRange(*gbk, bounds);
  if (!problem) {
    range = {bounds.low, bounds.high, std::string(text)};
  }
  return problem;
}

std::optional<UartMode> ParseUartMode(std::string_view text) {
  if (text == "1") {
    return UartMode::Mode1;
  }
  if (text == "3") {
    return UartMode::Mode3;
  }
  return std::nullopt;
}

std::optional<std::string> ParseUartChoice(std::string_view text, UartChoice& choice, Language language) {
  const std::size_t colon = text.find(':');
  const auto uart = CanonicalUartName(text.substr(0, colon));
  if (!uart) {
    return Utf8Text(language, TextKey::UsageUartNotNamed, {{"given", std::string(text)}});
  }
  choice.uart = *uart;
  choice.given = std::string(text);
  choice.baud.reset();
  if (colon != std::string_view::npos) {
    const auto rate = ParseWhole<std::int32_t>(text.substr(colon + 1), 10);
    if (!rate || *rate <= 0) {
      return Utf8Text(language, TextKey::UsageUartBadRate, {{"given", std::string(text)}});
    }
    choice.baud = rate;
  }
  return std::nullopt;
}

}  // namespace tesmirol::cli
