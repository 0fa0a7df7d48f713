#pragma once
// The other end of the serial link, as the user names it: a USB-serial
// adapter ("ch340", "cp2102", "cp2104", "ft232r", "ft232h", "pl2303"), an
// ideal peer ("ideal": exactly the rate asked for, a perfect clock, the
// common 16x receiver), or a second 8051, "TARGET@CRYSTAL" with an optional
// ",TOLERANCE" ("stc8@11.0592MHz", "stc15@24MHz,1.5%"): a target or chip
// family of the catalogue on that crystal, solved by the engine for the
// same rate, its clock good to 100 ppm unless told otherwise.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/baud_target.h"
#include "engine/clock_tolerance.h"
#include "engine/link_check.h"
#include "engine/usb_adapter_rates.h"

namespace tesmirol {

enum class PeerKind { Adapter, Ideal, Target };

// A second 8051's clock when no tolerance is given: a crystal.
inline constexpr ClockTolerance kDefaultCrystalTolerance{100'000};

struct PeerSpec {
  PeerKind kind = PeerKind::Ideal;
  UsbAdapter adapter = UsbAdapter::Ch340;  // for Adapter
  std::string target;                      // for Target: the target or family name, as given
  std::string crystalText;                 // for Target: GBK, as given
  ClockTolerance tolerance;                // for Target
};

enum class PeerReadStatus {
  Ok,
  UnknownName,    // neither an adapter, "ideal", nor NAME@CRYSTAL
  UnknownTarget,  // NAME@CRYSTAL with a NAME the catalogue does not hold
  BadCrystal,     // a crystal ReadExactCrystal cannot read
  BadTolerance,   // a tolerance ReadClockTolerance refuses (see toleranceStatus)
};

struct PeerReading {
  PeerReadStatus status = PeerReadStatus::UnknownName;
  PeerSpec peer;                                          // valid when status is Ok
  ToleranceStatus toleranceStatus = ToleranceStatus::Ok;  // for BadTolerance
};

// Reads the other end's name (GBK).
PeerReading ReadPeer(std::string_view text);

// The names ReadPeer knows besides NAME@CRYSTAL: the adapters, then "ideal".
std::span<const std::string_view> PeerNames() noexcept;

enum class PeerEndStatus {
  Ok,
  AdapterCannot,  // the adapter cannot run near the rate (usb_adapter_rates.h)
  TargetCannot,   // the second 8051 cannot make the rate on its crystal
};

// The peer at a rate: its end of the link, and for a second 8051 the
// generator and setting the engine chose for it.
struct PeerEnd {
  PeerEndStatus status = PeerEndStatus::Ok;
  LinkEnd end;                         // valid when status is Ok
  const BaudTarget* target = nullptr;  // for Target
  TargetSetting setting;               // for Target
};

// Works the peer out at the rate asked of the link (above 0).
PeerEnd ResolvePeer(const PeerSpec& peer, std::int32_t baud);

// The peer's name for reports: the adapter's, "ideal", or "TARGET@CRYSTAL".
std::string PeerName(const PeerSpec& peer);

}  // namespace tesmirol
