#pragma once
// The USB-serial adapters an 8051 often talks to, and the rate each really
// runs at when the host asks it for a baud rate: each makes its rate from
// its own clock with its own divisors, chosen by its driver. The rules are
// those of the Linux USB-serial drivers (drivers/usb/serial/ch341.c,
// cp210x.c, ftdi_sio.c, pl2303.c); every rate is exact.
//
//   ch340   48 MHz / (2^(12 - 3 ps - fact) x div): the driver takes the
//           largest prescaler ps (3 .. 0) whose slowest rate with fact = 1
//           is below the request, div = 48 MHz / (2^(12 - 3 ps - 1) x
//           request) rounded down, halves the base clock (fact = 0, div / 2)
//           when div is outside 9 .. 255, takes div + 1 when that rate is
//           nearer, and prefers fact = 0 for an even div. Requests 46 ..
//           3 000 000.
//   cp2102  the rate of AN205's table 1 whose range holds the request (the
//           driver and the chip map a request to one of these fixed rates;
//           1 000 000 is 921 600); requests 300 .. 1 000 000.
//   cp2104  48 MHz / (2 x prescale x div), prescale 4 up to 365 bps and 1
//           above, div the nearest whole divisor (the same equations as the
//           CP2102N); requests 300 .. 2 000 000.
//   ft232r  3 MHz / divisor in eighths (48 MHz / 16): the divisor is 48 MHz /
//           (2 x request) rounded to the nearest eighth, at most 2^14 -
//           1/8; 1 (3 Mbaud) and 1.5 (2 Mbaud) are the only divisors below
//           2, other eighths between 1 and 2 the chip does not have.
//           Requests 183 .. 3 000 000.
//   ft232h  12 MHz / divisor in eighths (120 MHz / 10, the chip samples ten
//           times a bit) for requests of 1200 and up, to 12 000 000; below
//           1200 (down to 183) the FT232R's rule.
//   pl2303  (PL2303HX) a request found in the driver's table of rates (75,
//           150, ... 115200, 230400, ... 6 000 000) is sent as it is and taken
//           as the rate; any other is 12 MHz x 32 / (mantissa x 4^exp), the
//           mantissa 384 000 000 / request rounded down, divided by 4 (exp
//           one up, at most 7) until below 512. Requests up to 12 000 000
//           whose divisor fits.
// Outside those ranges, or at a divisor the chip does not have, the driver
// clamps the request or sets another rate altogether: the adapter cannot run
// near the rate asked for, and there is no result.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/clock_tolerance.h"
#include "engine/fraction.h"
#include "engine/receiver_sampling.h"

namespace tesmirol {

enum class UsbAdapter { Ch340, Cp2102, Cp2104, Ft232r, Ft232h, Pl2303 };

// What is known of one adapter besides its divisors: its clock's tolerance
// and its receiver, and where each figure comes from.
struct UsbAdapterFacts {
  UsbAdapter adapter = UsbAdapter::Ch340;
  std::string_view name;  // the command line's name: "ch340"
  std::uint32_t minBaud = 0;
  std::uint32_t maxBaud = 0;
  ClockTolerance clock;
  std::string_view clockSource;  // the data sheet or standard the figure comes from
  ReceiverModel receiver;
  bool receiverAssumed = false;     // no data sheet states the sampling: 16x, a vote at ticks 7, 8, 9 is assumed
  std::string_view receiverSource;  // where the receiver's model comes from
};

// Every adapter, in the order the command line lists them.
std::span<const UsbAdapter> UsbAdapters() noexcept;

// The adapter of that name ("ch340" ...), in any ASCII case.
std::optional<UsbAdapter> FindUsbAdapter(std::string_view name) noexcept;

// The adapter's facts.
const UsbAdapterFacts& AdapterFacts(UsbAdapter adapter) noexcept;

// The rate the adapter really runs at when asked for baud, in lowest terms;
// no result when it cannot run near it (see above).
std::optional<Fraction> AdapterRate(UsbAdapter adapter, std::uint32_t baud) noexcept;

// The adapter's receiver at that rate: the FT232H samples ten times a bit
// from 1200 bps up and sixteen times below.
ReceiverModel AdapterReceiver(UsbAdapter adapter, std::uint32_t baud) noexcept;

}  // namespace tesmirol
