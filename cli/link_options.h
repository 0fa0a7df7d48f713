#pragma once
// --peer, --clock-tolerance, --frame and --require-link: the serial link
// between this 8051 and the other end, checked beside the calculation.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/clock_tolerance.h"
#include "engine/language.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"

namespace tesmirol::cli {

struct CommandLineOptions;
struct GivenOptions;

// The other end of one UART of a plan (--peer UART=PEER).
struct UartPeer {
  std::string uart;   // the chip's name of the UART, "UART2"
  std::string given;  // the option's text, UTF-8
  PeerSpec peer;
};

// What the link options ask for.
struct LinkRequest {
  PeerSpec peer;           // --peer PEER: the other end of every UART not named below
  bool peerForAll = true;  // false when only UART=PEER forms were given
  std::vector<UartPeer> uartPeers;
  ClockTolerance ownTolerance = kDefaultCrystalTolerance;  // --clock-tolerance: a crystal's 100 ppm unless told
  SerialFrame frame;                                       // --frame: 8N1 unless told
  bool requireLink = false;                                // --require-link: status 3 when the link fails
};

// The other end of the UART ("UART2"; "" for the one UART of a single
// target): its own, else the one of every UART; none when neither was given.
const PeerSpec* PeerOfUart(const LinkRequest& request, std::string_view uart);

// The request as it holds for the UART: its peer is the UART's own.
LinkRequest RequestForUart(const LinkRequest& request, std::string_view uart);

// The options' texts as given (UTF-8), before they are checked.
struct LinkOptionTexts {
  bool peerGiven = false;
  std::vector<std::string> peers;  // each --peer: PEER, or UART=PEER
  bool toleranceGiven = false;
  std::string tolerance;
  bool frameGiven = false;
  std::string frame;
  bool requireLink = false;
};

// Reads the link options into options.link (left empty without --peer);
// the link's frame is options.frame, read before.
// Returns what is wrong, in the language, naming what is valid.
std::optional<std::string> ReadLinkOptions(const LinkOptionTexts& texts, Language language,
                                           CommandLineOptions& options);

// What the settled mode allows: --peer with the report, the build check,
// the code (the init code, the driver, the assembly text) and --rates (the
// crystals ranked by the link), not with the tables, --reload, the
// listings or --find-clock; --require-link not with --rates. The frame is
// settled with the code's (see CheckFrameOptions).
std::optional<std::string> CheckLinkOptions(const GivenOptions& given, const CommandLineOptions& options);

// The help texts of the options, in the language (UTF-8).
std::string PeerHelp(Language language);
std::string ClockToleranceHelp(Language language);
std::string FrameHelp(Language language);
std::string RequireLinkHelp(Language language);

}  // namespace tesmirol::cli
