#include "cli/option_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

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

std::optional<double> ParsePercent(std::string_view text) {
  if (text.ends_with('%')) {
    text.remove_suffix(1);
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < 0.0) {
    return std::nullopt;
  }
  return value;
}

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

std::optional<std::vector<std::int32_t>> ParseRates(std::string_view text) {
  std::vector<std::int32_t> rates;
  while (true) {
    const std::size_t comma = text.find(',');
    const auto rate = ParseWhole<std::int32_t>(text.substr(0, comma), 10);
    if (!rate || *rate <= 0) {
      return std::nullopt;
    }
    rates.push_back(*rate);
    if (comma == std::string_view::npos) {
      return rates;
    }
    text.remove_prefix(comma + 1);
  }
}

std::optional<ClockRangeProblem> ParseClockRange(std::string_view text, ClockRange& range) {
  const std::size_t dots = text.find("..");
  if (dots == std::string_view::npos) {
    return ClockRangeProblem::NotRange;
  }
  const auto side = [](std::string_view part) -> std::optional<std::uint64_t> {
    const auto gbk = text::Utf8ToGbk(part);
    const auto frequency = gbk && !gbk->empty() ? ReadExactCrystal(*gbk) : std::nullopt;
    if (!frequency || frequency->denominator != 1) {
      return std::nullopt;
    }
    return frequency->numerator;
  };
  const auto low = side(text.substr(0, dots));
  const auto high = side(text.substr(dots + 2));
  if (!low || !high) {
    return ClockRangeProblem::NotWholeHertz;
  }
  if (*low > *high) {
    return ClockRangeProblem::Empty;
  }
  range = {*low, *high, std::string(text)};
  return std::nullopt;
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
