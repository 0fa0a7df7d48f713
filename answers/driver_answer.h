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
// they are left at their defaults, as tesmirol-cli requires).
DriverOptions MakeDriverOptions(bool polled, std::uint32_t rxSize, std::uint32_t txSize, bool xdata);

// The page's driver: one request is the single-UART question (its best
// target, with the page's link), several are planned together; with the
// memory of the chip the target names, as tesmirol-cli --target gives it.
struct DriverAnswer {
  std::string_view status;  // "ok", "noCode", "badSize", "refused"
  std::optional<std::vector<TargetCodeRequest>> requests;
  DriverOptions options;               // with the chip's memory
  std::optional<std::string> refused;  // GBK, in the language asked for, when refused
  std::vector<std::uint32_t> sizes;    // the buffer sizes the space allows
};

DriverAnswer AnswerDriver(const PlanTexts& texts, const DriverOptions& options, const LinkTexts& link,
                          Language language);

// {"status":"ok", "files": ["uart1.h", "uart1.c", ...], "oneFile":
// "uart1_driver.c" (or "uart_driver.c" for a plan)}, or the status "noCode",
// "badSize" or "refused" with "message": {"zh", "en"}; each with
// "defaultSize" (the chip's) and "sizes".
void WriteDriverAnswer(JsonWriter& json, const PlanTexts& texts, const DriverOptions& options, const LinkTexts& link);

// The text (GBK) of one file in the language: index into the files of
// WriteDriverAnswer, or -1 for the one-file form; none when there is no
// such file or the chip refuses the driver.
std::optional<std::string> DriverFileText(const DriverAnswer& answer, std::int32_t index, Language language);

}  // namespace tesmirol::answers
