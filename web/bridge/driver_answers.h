#pragma once
// The serial driver the page offers for download: the UART's (or each
// planned UART's) header and source, uartN.h and uartN.c, or everything in
// one file, as tesmirol-cli --driver writes them. The texts are the plan's:
// one UART is the single-UART question (its best generator, as the page
// shows it), several are planned together.

#include <cstdint>
#include <optional>
#include <string>

#include "codegen/code_bytes.h"
#include "codegen/uart_driver.h"
#include "web/bridge/plan_answers.h"

namespace tesmirol::web {

// The driver's options as the page's choices give them; sizes and space are
// those of the interrupt-driven driver (the polled one has no buffers, so
// they are left at their defaults, as tesmirol-cli requires).
DriverOptions MakeDriverOptions(bool polled, std::uint32_t rxSize, std::uint32_t txSize, bool xdata);

// What can be downloaded for the texts and options:
//   {"status":"ok", "files": ["uart1.h", "uart1.c", ...], "oneFile":
//    "uart1_driver.c" (or "uart_driver.c" for a plan), "sizes": [...]}, or
//   the status "noCode" (the inputs give no code to build a driver on),
//   "badSize" (a size the space does not allow) or "refused" with
//   "message": {"zh", "en"}, tesmirol-cli's refusal of these options for the
//   chip the target names (its internal RAM, XRAM); each with "sizes", the
//   buffer sizes the space allows.
std::string DriverFilesJson(const PlanTexts& texts, const DriverOptions& options, const LinkTexts& link);

// The bytes of one file in the language (its init functions in the link's
// UART mode, with the link's notes, as tesmirol-cli --peer --driver writes
// them): index into the files of
// DriverFilesJson, or -1 for the one-file form; no result when there is no
// such file.
std::optional<std::string> DriverFileBytes(const PlanTexts& texts, const DriverOptions& options, std::int32_t index,
                                           CodeEncoding encoding, bool lineFeedsOnly, Language language,
                                           const LinkTexts& link);

}  // namespace tesmirol::web
