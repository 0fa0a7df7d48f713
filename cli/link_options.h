#pragma once
// --peer, --clock-tolerance, --frame and --require-link: the serial link
// between this 8051 and the other end, checked beside the calculation.

#include <optional>
#include <string>

#include "engine/clock_tolerance.h"
#include "engine/language.h"
#include "engine/link_peer.h"
#include "engine/serial_frame.h"

namespace tesmirol::cli {

struct CommandLineOptions;
struct GivenOptions;

// What the link options ask for.
struct LinkRequest {
  PeerSpec peer;
  ClockTolerance ownTolerance = kDefaultCrystalTolerance;  // --clock-tolerance: a crystal's 100 ppm unless told
  SerialFrame frame;                                       // --frame: 8N1 unless told
  bool requireLink = false;                                // --require-link: status 3 when the link fails
};

// The options' texts as given (UTF-8), before they are checked.
struct LinkOptionTexts {
  bool peerGiven = false;
  std::string peer;
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
