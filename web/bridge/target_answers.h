#pragma once
// The page's questions about the targets of the catalogue (today's chips'
// baud-rate generators), answered by the exact solver and the target code
// generator as JSON text or file bytes. The classic calculation stays with
// page_answers.h.

#include <optional>
#include <string>
#include <string_view>

#include "codegen/code_bytes.h"

namespace tesmirol::web {

// The target choice: "classic" (the dialog's calculation) first, then every
// target of the catalogue: [{"name", "chips", "families": [...]}].
std::string TargetsJson();

// One target solved for the texts:
//   {"status":"ok","solution":{...},"outcome":...,"output":...}, or the status
//   "crystalNotGbk", "baudNotGbk", "noResult" (the solver takes neither text)
//   or "unknownTarget".
// The solution holds the fields of tesmirol-cli --target --json (doubles as
// their bits, exact numerators and denominators as decimal strings) and the
// texts the page shows: the crystal, the range, and for each setting the
// register label and the achieved rate.
std::string TargetSolutionJson(std::u16string_view crystal, std::u16string_view baud, std::u16string_view target);

// The crystal finder on a target: every crystal preset against the baud
// text, each SMOD setting's best neighbour and the outcome.
std::string TargetTableJson(std::u16string_view baud, std::u16string_view target);

// The bytes of the target's SIO_Init as tesmirol-cli --target --code writes
// them; no result when there is no code.
std::optional<std::string> TargetCodeBytes(std::u16string_view crystal, std::u16string_view baud,
                                           std::u16string_view target, CodeEncoding encoding, bool lineFeedsOnly);

}  // namespace tesmirol::web
