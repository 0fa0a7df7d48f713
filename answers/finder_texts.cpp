#include "answers/finder_texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

#include "engine/exact_crystal.h"

namespace tesmirol::answers {
namespace {

// A whole decimal number that fills the text exactly.
template <typename Number>
std::optional<Number> ReadWhole(std::string_view text) {
  Number value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// One side of a clock range: a frequency of whole hertz.
std::optional<std::uint64_t> WholeHertz(std::string_view gbk) {
  const auto frequency = gbk.empty() ? std::nullopt : ReadExactCrystal(gbk);
  if (!frequency || frequency->denominator != 1) {
    return std::nullopt;
  }
  return frequency->numerator;
}

}  // namespace

std::optional<std::vector<std::int32_t>> ReadRateList(std::string_view text) {
  std::vector<std::int32_t> rates;
  while (true) {
    const std::size_t comma = text.find(',');
    const auto rate = ReadWhole<std::int32_t>(text.substr(0, comma));
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

std::optional<double> ReadPercent(std::string_view text) {
  if (text.ends_with('%')) {
    text.remove_suffix(1);
  }
  // Fixed notation only: [-]digits[.digits] or [-].digits. (The
  // WebAssembly build's C++ library reads no doubles with from_chars.)
  std::string_view number = text;
  if (number.starts_with('-')) {
    number.remove_prefix(1);
  }
  const std::size_t point = number.find('.');
  const std::string_view whole = number.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.size() + fraction.size() == 0 || !digits(whole) || !digits(fraction)) {
    return std::nullopt;
  }
  // strtod in the C locale the program never leaves: correctly rounded.
  const std::string copy(text);
  const double value = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(value) || value < 0.0) {
    return std::nullopt;
  }
  return value;
}

std::optional<ClockRangeProblem> ReadClockRange(std::string_view gbk, ClockBounds& bounds) {
  const std::size_t dots = gbk.find("..");
  if (dots == std::string_view::npos) {
    return ClockRangeProblem::NotRange;
  }
  const auto low = WholeHertz(gbk.substr(0, dots));
  const auto high = WholeHertz(gbk.substr(dots + 2));
  if (!low || !high) {
    return ClockRangeProblem::NotWholeHertz;
  }
  if (*low > *high) {
    return ClockRangeProblem::Empty;
  }
  bounds = {*low, *high};
  return std::nullopt;
}

std::optional<std::size_t> ReadClockLimit(std::string_view text) {
  // Six digits at most, as the command line's other counts.
  const auto limit = text.size() <= 6 ? ReadWhole<std::uint32_t>(text) : std::nullopt;
  if (!limit || *limit == 0 || *limit > kMaxClockLimit) {
    return std::nullopt;
  }
  return *limit;
}

}  // namespace tesmirol::answers
