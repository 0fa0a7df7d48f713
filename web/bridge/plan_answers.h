#pragma once
// Several UARTs of one chip planned together, as the page asks: the UART
// planner gives each UART a generator so that no timer serves two settings,
// and the plan's code is one text with one init function per UART.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/code_bytes.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "web/bridge/link_answers.h"

namespace tesmirol::web {

// One UART of the plan, the rate wanted of it and its own other end, as
// the user gave them.
struct PlanRequestTexts {
  std::u16string_view uart;  // "UART2", "uart2" or "2"
  std::u16string_view baud;
  std::u16string_view peer;  // as LinkTexts::peer; "" for the link's own
};

struct PlanTexts {
  std::u16string_view crystal;
  std::u16string_view target;  // a chip family, or one target
  std::vector<PlanRequestTexts> requests;
};

// The plan for the texts, each UART held within 1 %:
//   {"status":"ok", the crystal as read, "plan": {"uarts": [...], "worst"}
//    or null, "conflict": {"kind", "requests", "timer"} or null, "outcome",
//    "output"}, where each planned UART gives its request, its generator,
//   timer and function, the setting, why it got that generator and its link
//   (see WriteLink); or the
//   status "unknownTarget", "crystalNotGbk", "noResult" (the crystal does not
//   read), or for one request (its index in "request") "unknownUart",
//   "uartTwice", "baudNotGbk" or "rateNoResult".
// The output is the plan's code in the language; its first function's
// header comment carries each UART's link note.
std::string PlanJson(const PlanTexts& texts, Language language, const LinkTexts& link);

// The bytes of the plan's code in the language, as tesmirol-cli writes a
// plan's code (with the link's notes when a link is asked about); no result
// when there is no plan.
std::optional<std::string> PlanCodeBytes(const PlanTexts& texts, CodeEncoding encoding, bool lineFeedsOnly,
                                         Language language, const LinkTexts& link);

// Each planned UART's setting, in the order asked, as the requests for the
// plan's serial driver (tesmirol-cli --uart ... --driver); no result when
// there is no plan or no code.
std::optional<std::vector<TargetCodeRequest>> PlanDriverRequests(const PlanTexts& texts, const LinkTexts& link,
                                                                 Language language);

}  // namespace tesmirol::web
