#pragma once
// The serial driver of one UART's best setting or of a plan's UARTs: whether
// the driver's options fit the chip (the same refusal on the command line's
// --driver and on the page), and, for the page, what can be downloaded and
// the bytes of each file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "answers/json_writer.h"
#include "answers/link_question.h"
#include "answers/plan_question.h"
#include "codegen/uart_driver.h"
#include "engine/language.h"

namespace tesmirol::answers {

// Why the driver of the requests cannot be built with the options (an
// RS485 pin on a chip that cannot time it, memory the chip lacks), in the
// language (GBK); none when it can.
std::optional<std::string> RefuseDriver(std::span<const TargetCodeRequest> requests, const DriverOptions& options,
                                        Language language);

// The driver's options as the page's choices give them; sizes and space are
// those of the interrupt-driven driver (the polled one has no buffers, so
// they are left at their defaults, as tesmirol-cli requires). The register
// bank and the RS-485 pin are taken for either kind, as tesmirol-cli takes
// --register-bank and --rs485 with --driver polled.
struct DriverChoices {
  bool polled = false;
  std::uint32_t rxSize = 16;
  std::uint32_t txSize = 16;
  bool xdata = false;
  std::optional<std::uint32_t> registerBank;  // none: the compiler's default bank
  GbkText rs485 = std::string();              // "P3.7", "!P3.7"; empty for no transceiver
  bool crlf = false;
};

// The choices read: the driver's options, or the RS-485 pin's text (GBK,
// as given) when it names no port bit.
struct DriverChoiceReading {
  DriverOptions options;
  std::optional<std::string> badRs485;
};

DriverChoiceReading ReadDriverChoices(const DriverChoices& choices);

// The page's driver: one request is the single-UART question (its best
// target, with the page's link), several are planned together; with the
// memory of the chip the target names, as tesmirol-cli --target gives it.
struct DriverAnswer {
  std::string_view status;  // "ok", "badRs485", "noCode", "badSize", "refused"
  std::optional<std::vector<TargetCodeRequest>> requests;
  DriverOptions options;               // with the chip's memory
  std::optional<std::string> refused;  // GBK, in the language asked for, when refused or badRs485
  std::vector<std::uint32_t> sizes;    // the buffer sizes the space allows
};

DriverAnswer AnswerDriver(const PlanTexts& texts, const DriverChoices& choices, const LinkTexts& link,
                          Language language);

// {"status":"ok", "files": ["uart1.h", "uart1.c", ...], "oneFile":
// "uart1_driver.c" (or "uart_driver.c" for a plan)}, or the status "noCode",
// "badSize", or "refused" or "badRs485" (a pin that names no port bit,
// refused before anything is solved, as tesmirol-cli refuses --rs485) with
// "message": {"zh", "en"}; each with "defaultSize" (the chip's) and "sizes".
void WriteDriverAnswer(JsonWriter& json, const PlanTexts& texts, const DriverChoices& choices, const LinkTexts& link);

// The text (GBK) of one file in the language: index into the files of
// WriteDriverAnswer, or -1 for the one-file form; none when there is no
// such file or the chip refuses the driver.
std::optional<std::string> DriverFileText(const DriverAnswer& answer, std::int32_t index, Language language);

}  // namespace tesmirol::answers
