#pragma once
// Several UARTs of one chip planned together: every UART gets one of its
// generators so that no timer is asked for two settings at once, and of the
// assignments that keep every UART within the tolerance the one with the
// least worst relative error wins (ties: the earlier generators in catalogue
// order, UART by UART as asked). A single UART is the same question with one
// request.
//
// UARTs may share a timer (UART2 and UART3 of an STC8 on Timer 2, UART0 and
// UART1 of an N76E003 on Timer 3) when one setting of it, its clock and its
// reload, serves all of them; each UART keeps its own doubling bit. The
// shared setting is searched exactly: for each clock the timer offers, the
// worst error over the UARTs is least at a neighbour of one UART's exact
// divisor or of the midpoint of two of them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/target_solver.h"

namespace tesmirol {

// One UART and the rate wanted of it.
struct UartRequest {
  std::string uart;       // the chip's name of the UART, as the catalogue has it ("UART2")
  std::int32_t baud = 0;  // above 0
  std::string baudText;   // GBK, as entered
};

// Why a UART got the generator it got.
enum class PlanReason {
  OnlyGenerator,  // the chip offers this UART no other generator
  BestAlone,      // its least error of all its generators, as if it were alone
  SharedTimer,    // its timer serves other UARTs too, at one setting chosen for all of them
  TimerTaken,     // its best alone takes a timer that another UART needs at another setting
};

struct PlannedUart {
  UartRequest request;
  const BaudTarget* target = nullptr;
  TargetSetting setting;
  PlanReason reason = PlanReason::BestAlone;
  std::size_t generatorCount = 0;         // how many generators the chip offers this UART
  std::vector<std::size_t> sharedWith;    // the other requests on the same timer
  const BaudTarget* bestAlone = nullptr;  // its best generator alone
  std::optional<std::size_t> takenBy;     // TimerTaken: the request that holds that timer
};

struct UartPlan {
  std::vector<PlannedUart> uarts;  // in the order asked
  std::size_t worst = 0;           // the UART with the largest relative error
};

enum class PlanConflictKind {
  NoGenerator,  // the chip has no such UART
  OutOfReach,   // no generator of the UART gives the rate within the tolerance
  SharedTimer,  // every assignment asks one timer for two settings
};

struct PlanConflict {
  PlanConflictKind kind = PlanConflictKind::OutOfReach;
  std::vector<std::size_t> requests;  // the requests concerned
  std::string timer;                  // SharedTimer: the timer they would share
};

struct PlanResult {
  std::optional<UartPlan> plan;
  std::optional<PlanConflict> conflict;  // set exactly when there is no plan
};

// Plans the requests on the chip whose targets are given (a family's
// targets, every UART). inputs gives the crystal; its baud is not used.
// tolerancePercent bounds every UART's |deviation|.
PlanResult PlanUarts(std::span<const BaudTarget* const> chipTargets, const TargetInputs& inputs,
                     std::span<const UartRequest> requests, double tolerancePercent);

// The name of a reason ("OnlyGenerator" ...) and of a conflict kind.
std::string_view PlanReasonName(PlanReason reason) noexcept;
std::string_view PlanConflictKindName(PlanConflictKind kind) noexcept;

}  // namespace tesmirol
