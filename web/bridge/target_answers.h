#pragma once
// The page's questions about the targets of the catalogue (today's chips'
// baud-rate generators) for one UART, answered by the exact solver and the
// target code generator as JSON text or file bytes. The classic calculation
// stays with page_answers.h, several UARTs planned together with
// plan_answers.h.
//
// A target name is one target of the catalogue or a chip family; the UART
// text ("UART2", "uart2" or "2") picks the family's targets that drive that
// UART, and an empty one the chip's first UART, as tesmirol-cli --target
// FAMILY does.

#include <optional>
#include <string>
#include <string_view>

#include "codegen/code_bytes.h"
#include "codegen/target_asm_code.h"
#include "codegen/target_init_code.h"
#include "engine/language.h"
#include "web/bridge/link_answers.h"

namespace tesmirol::web {

// The target choice: {"targets": [{"name", "chips", "families": [...],
// "uart", "timer", "function"}], "families": [{"name", "uarts": [...]}]},
// both in catalogue order.
std::string TargetsJson();

// The targets of the name that drive the UART, solved for the texts:
//   {"status":"ok", "uart", the inputs as read, "solutions": [...],
//    "bestTarget" (the name, or null), "shown" (the index of the best, else
//    0), "function", "outcome", "output"}, or the status "unknownTarget",
//   "unknownUart", "crystalNotGbk", "baudNotGbk" or "noResult" (the solver
//   takes neither text).
// Each solution holds the fields of tesmirol-cli --target --json (doubles as
// their bits, exact numerators and denominators as decimal strings), every
// clock choice with each SMOD setting, and the texts the page shows; the
// output is the best target's code in the language; "link" is the link of
// the best setting (see WriteLink), whose note the code's header carries.
std::string TargetSolutionJson(std::u16string_view crystal, std::u16string_view baud, std::u16string_view target,
                               std::u16string_view uart, Language language, const LinkTexts& link);

// The crystal finder on the targets: every crystal preset against the baud
// text, with the best setting (generator, clock, SMOD, reload, rate,
// deviation), the outcome and the best setting's link verdict and margin,
// in preset order or ranked by link margin.
std::string TargetTableJson(std::u16string_view baud, std::u16string_view target, std::u16string_view uart,
                            const LinkTexts& link, bool rankByLink);

// The bytes of the best target's init function in the language, as
// tesmirol-cli --target --code writes them (with the link's note when a
// link is asked about); no result when there is no code.
std::optional<std::string> TargetCodeBytes(std::u16string_view crystal, std::u16string_view baud,
                                           std::u16string_view target, std::u16string_view uart, CodeEncoding encoding,
                                           bool lineFeedsOnly, Language language, const LinkTexts& link);

// The bytes of the best target's init function, send and receive in
// assembly for the syntax, as tesmirol-cli --target --asm writes them (with
// the link's note); no result when there is no code.
std::optional<std::string> TargetAsmBytes(std::u16string_view crystal, std::u16string_view baud,
                                          std::u16string_view target, std::u16string_view uart, AsmSyntax syntax,
                                          CodeEncoding encoding, bool lineFeedsOnly, Language language,
                                          const LinkTexts& link);

// The best target's setting for the texts, the one its init code is written
// for, as the request for its serial driver (tesmirol-cli --target --driver),
// in the link's UART mode with its note in the language; no result when
// there is no code.
std::optional<TargetCodeRequest> TargetDriverRequest(std::u16string_view crystal, std::u16string_view baud,
                                                     std::u16string_view target, std::u16string_view uart,
                                                     const LinkTexts& link, Language language);

}  // namespace tesmirol::web
