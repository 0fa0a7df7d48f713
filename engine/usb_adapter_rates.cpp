#include "engine/usb_adapter_rates.h"

#include <algorithm>
#include <array>
#include <span>

namespace tesmirol {
namespace {

constexpr std::uint32_t kCh34xClock = 48'000'000;
constexpr std::uint32_t kCp210xClock = 48'000'000;
constexpr std::uint32_t kFtdiEighthsBase = 24'000'000;      // 3 MHz x 8: the FT232R's rate times its divisor in eighths
constexpr std::uint32_t kFtdiHighEighthsBase = 96'000'000;  // 12 MHz x 8: the FT232H's
constexpr std::uint32_t kFtdiMaxEighths = (1U << 17U) - 1U;  // the divisor field's width
constexpr std::uint32_t kPl2303Base = 384'000'000;           // 12 MHz x 32

constexpr ReceiverModel kAssumed16x{ReceiverModelKind::Sampling, k8051Sampling, {}};

constexpr std::array<UsbAdapter, 6> kAdapters{UsbAdapter::Ch340,  UsbAdapter::Cp2102, UsbAdapter::Cp2104,
                                              UsbAdapter::Ft232r, UsbAdapter::Ft232h, UsbAdapter::Pl2303};

constexpr std::string_view kUsbFullSpeed =
    "USB 2.0 full-speed signalling (12 Mb/s +-0.25 %), which the chip's one clock must meet; no tighter figure stated";

const std::array<UsbAdapterFacts, 6> kFacts{{
    {UsbAdapter::Ch340, "ch340", 46, 3'000'000, ClockTolerance{10'000'000},
     "CH340 data sheet: transmit rate error below 1 % with the integrated clock (CH340C/N/K/E/B; 0.3 % for the "
     "crystal CH340G/T/R)",
     ReceiverModel{ReceiverModelKind::StatedLimit, k8051Sampling, Fraction{1, 50}}, false,
     "CH340 data sheet: reception allows a rate error of not less than 2 %"},
    {UsbAdapter::Cp2102, "cp2102", 300, 1'000'000, ClockTolerance{2'500'000}, kUsbFullSpeed, kAssumed16x, true,
     "not stated; 16x sampling with a vote at ticks 7, 8, 9 assumed"},
    {UsbAdapter::Cp2104, "cp2104", 300, 2'000'000, ClockTolerance{2'500'000},
     "CP2104 data sheet, 6.1: the 48 MHz oscillator is accurate to +-0.25 %", kAssumed16x, true,
     "not stated; 16x sampling with a vote at ticks 7, 8, 9 assumed"},
    {UsbAdapter::Ft232r, "ft232r", 183, 3'000'000, ClockTolerance{2'500'000}, kUsbFullSpeed, kAssumed16x, true,
     "FTDI AN232B-05: a 3 MHz reference, 48 MHz / 16; where it samples is not stated: ticks 7, 8, 9 assumed"},
    {UsbAdapter::Ft232h, "ft232h", 183, 12'000'000, ClockTolerance{500'000},
     "USB 2.0 high-speed signalling (480 Mb/s +-500 ppm), which the chip's 12 MHz crystal clock must meet",
     ReceiverModel{ReceiverModelKind::Sampling, SamplingScheme{10, 5, 3}, {}}, true,
     "Linux ftdi_sio: ten samples a bit from 1200 bps up; where it samples is not stated: ticks 4, 5, 6 assumed"},
    {UsbAdapter::Pl2303, "pl2303", 46, 12'000'000, ClockTolerance{2'500'000}, kUsbFullSpeed, kAssumed16x, true,
     "not stated; 16x sampling with a vote at ticks 7, 8, 9 assumed"},
}};

// The AN205 table: each rate and the highest request mapped to it.
struct TableRate {
  std::uint32_t rate;
  std::uint32_t highest;
};

constexpr std::array<TableRate, 29> kCp2102Rates{{
    {300, 300},       {600, 600},       {1200, 1200},     {1800, 1800},     {2400, 2400},      {4000, 4000},
    {4800, 4803},     {7200, 7207},     {9600, 9612},     {14400, 14428},   {16000, 16062},    {19200, 19250},
    {28800, 28912},   {38400, 38601},   {51200, 51558},   {56000, 56280},   {57600, 58053},    {64000, 64111},
    {76800, 77608},   {115200, 117028}, {128000, 129347}, {153600, 156868}, {230400, 237832},  {250000, 254234},
    {256000, 273066}, {460800, 491520}, {500000, 567138}, {576000, 670254}, {921600, 1053257},
}};

constexpr std::array<std::uint32_t, 25> kPl2303DirectRates{
    75,    150,   300,   600,    1200,   1800,   2400,   3600,   4800,    7200,    9600,    14400,  19200,
    28800, 38400, 57600, 115200, 230400, 460800, 614400, 921600, 1228800, 2457600, 3000000, 6000000};

std::optional<Fraction> Ch340Rate(std::uint32_t baud) noexcept {
  // The slowest rate of each prescaler with fact = 1 and div = 512.
  const auto clockDivider = [](int ps, std::uint32_t fact) {
    return 1U << static_cast<std::uint32_t>(12 - 3 * ps - static_cast<int>(fact));
  };
  int ps = 3;
  for (; ps >= 0; --ps) {
    if (baud > kCh34xClock / (clockDivider(ps, 1) * 512U)) {
      break;
    }
  }
  if (ps < 0) {
    return std::nullopt;
  }
  std::uint32_t fact = 1;
  std::uint32_t divider = clockDivider(ps, fact);
  std::uint32_t div = kCh34xClock / (divider * baud);
  if (div < 9 || div > 255) {
    div /= 2;
    divider *= 2;
    fact = 0;
  }
  if (div < 2) {
    return std::nullopt;
  }
  // The next divisor when its rate is nearer, in sixteenths as the driver reckons.
  constexpr std::uint32_t kScaledClock = 16 * kCh34xClock;
  if (kScaledClock / (divider * div) - 16 * baud >= 16 * baud - kScaledClock / (divider * (div + 1))) {
    ++div;
  }
  if (fact == 1 && div % 2 == 0) {
    div /= 2;
    fact = 0;
  }
  return ReducedFraction(kCh34xClock, std::uint64_t{clockDivider(ps, fact)} * div);
}

std::optional<Fraction> Cp2102Rate(std::uint32_t baud) noexcept {
  const std::span<const TableRate> rates(kCp2102Rates);
  const auto found =
      std::find_if(rates.begin(), rates.end(), [baud](const TableRate& entry) { return baud <= entry.highest; });
  if (found == rates.end()) {
    return std::nullopt;
  }
  return Fraction{found->rate, 1};
}

std::optional<Fraction> Cp2104Rate(std::uint32_t baud) noexcept {
  const std::uint32_t prescale = baud <= 365 ? 4 : 1;
  const std::uint32_t step = 2 * prescale * baud;
  const std::uint32_t div = (kCp210xClock + step / 2) / step;
  return ReducedFraction(kCp210xClock, std::uint64_t{2} * prescale * div);
}

// base / divisor in eighths, the divisor the nearest eighth to base / baud:
// the FTDI rule, with the only divisors below 2 being 1 and 1.5.
std::optional<Fraction> FtdiRate(std::uint32_t eighthsBase, std::uint32_t baud) noexcept {
  const std::uint64_t twiceBase = std::uint64_t{eighthsBase} * 2;
  const std::uint64_t twiceBaud = std::uint64_t{baud} * 2;
  const std::uint64_t nearest = (twiceBase + baud) / twiceBaud;
  const auto eighths = static_cast<std::uint32_t>(std::min<std::uint64_t>(nearest, kFtdiMaxEighths));
  if (eighths < 8 || (eighths < 16 && eighths != 8 && eighths != 12)) {
    return std::nullopt;
  }
  return ReducedFraction(eighthsBase, eighths);
}

std::optional<Fraction> Pl2303Rate(std::uint32_t baud) noexcept {
  if (std::find(kPl2303DirectRates.begin(), kPl2303DirectRates.end(), baud) != kPl2303DirectRates.end()) {
    return Fraction{baud, 1};
  }
  std::uint32_t mantissa = std::max(kPl2303Base / baud, 1U);
  std::uint32_t exponent = 0;
  while (mantissa >= 512) {
    if (exponent == 7) {
      return std::nullopt;  // the driver trims the mantissa: far from the request
    }
    mantissa >>= 2U;
    ++exponent;
  }
  return ReducedFraction(kPl2303Base, std::uint64_t{mantissa} << (2 * exponent));
}

}  // namespace

std::span<const UsbAdapter> UsbAdapters() noexcept { return kAdapters; }

std::optional<UsbAdapter> FindUsbAdapter(std::string_view name) noexcept {
  const std::span<const UsbAdapterFacts> facts(kFacts);
  const auto found = std::find_if(facts.begin(), facts.end(), [name](const UsbAdapterFacts& adapter) {
    return std::equal(name.begin(), name.end(), adapter.name.begin(), adapter.name.end(), [](char given, char own) {
      return (given >= 'A' && given <= 'Z' ? static_cast<char>(given - 'A' + 'a') : given) == own;
    });
  });
  if (found == facts.end()) {
    return std::nullopt;
  }
  return found->adapter;
}

const UsbAdapterFacts& AdapterFacts(UsbAdapter adapter) noexcept {
  return kFacts.at(static_cast<std::size_t>(adapter));
}

std::optional<Fraction> AdapterRate(UsbAdapter adapter, std::uint32_t baud) noexcept {
  const UsbAdapterFacts& facts = AdapterFacts(adapter);
  if (baud < facts.minBaud || baud > facts.maxBaud) {
    return std::nullopt;
  }
  switch (adapter) {
    case UsbAdapter::Ch340:
      return Ch340Rate(baud);
    case UsbAdapter::Cp2102:
      return Cp2102Rate(baud);
    case UsbAdapter::Cp2104:
      return Cp2104Rate(baud);
    case UsbAdapter::Ft232r:
      return FtdiRate(kFtdiEighthsBase, baud);
    case UsbAdapter::Ft232h:
      return FtdiRate(baud >= 1200 ? kFtdiHighEighthsBase : kFtdiEighthsBase, baud);
    case UsbAdapter::Pl2303:
      return Pl2303Rate(baud);
  }
  return std::nullopt;
}

ReceiverModel AdapterReceiver(UsbAdapter adapter, std::uint32_t baud) noexcept {
  if (adapter == UsbAdapter::Ft232h && baud < 1200) {
    return kAssumed16x;
  }
  return AdapterFacts(adapter).receiver;
}

}  // namespace tesmirol
