// What --frame allows, and the frame and UART mode it gives the code.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/mode_options.h"
#include "cli/utf8_text.h"
#include "codegen/target_init_code.h"
#include "engine/serial_frame.h"
#include "engine/target_catalogue.h"

namespace tesmirol::cli {

std::optional<std::string> CheckFrameOptions(const GivenOptions& given, CommandLineOptions& options) {
  const Language language = options.language;
  const bool codeOnly = given.rule->writesCode;
  if (!given.frame) {
    // --uart-mode 3 alone: nine data bits, in the code and in the link.
    if (given.uartMode && options.uartMode == UartMode::Mode3) {
      options.frame = SerialFrame{9, Parity::None, 1};
      if (options.link) {
        options.link->frame = options.frame;
      }
    }
    return std::nullopt;
  }
  if (!options.link) {
    // Without a peer the frame is the code's: a target's, in a mode that writes code.
    if (!given.rule->carriesCode) {
      return Utf8Text(language, TextKey::LinkFrameCodeOnly, {{"view", std::string(given.rule->option)}});
    }
    if (!options.target) {
      return Utf8Text(language, TextKey::LinkFrameNoTarget);
    }
  }
  if (given.rule->view == View::Rates) {
    return std::nullopt;  // with --peer: the frame of the links that rank the crystals
  }
  const std::string frame = SerialFrameName(options.frame);
  const bool mode3 = FrameUartModeOf(options.frame) == FrameUartMode::Mode3;
  if (given.uartMode && options.uartMode == UartMode::Mode1 && mode3) {
    return Utf8Text(language, TextKey::LinkFrameModeConflict, {{"frame", frame}});
  }
  if (given.uartMode && options.uartMode == UartMode::Mode3 && !mode3) {
    return Utf8Text(language, TextKey::LinkFrameMode1Conflict);
  }
  if (mode3 && !options.target && codeOnly) {
    return Utf8Text(language, TextKey::LinkFrameNeedsTarget, {{"frame", frame}});
  }
  if (options.target) {
    // The CC253x USARTs' code sets 8N1 and 8N2 alone.
    std::vector<const BaudTarget*> named = FindFamilyTargets(*options.target);
    if (const BaudTarget* target = FindBaudTarget(*options.target)) {
      named.push_back(target);
    }
    if (std::any_of(named.begin(), named.end(),
                    [&](const BaudTarget* target) { return !TargetCarriesFrame(*target, options.frame); })) {
      return Utf8Text(language, TextKey::LinkFrameNotCarried, {{"frame", frame}, {"target", *options.target}});
    }
  }
  options.uartMode = mode3 ? UartMode::Mode3 : UartMode::Mode1;
  return std::nullopt;
}

}  // namespace tesmirol::cli
