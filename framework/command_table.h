#pragma once
// The handler table of a dialog or an application: for each command or
// control notification it reacts to, the member function that handles it.
// One table per class keeps every route readable in one place.

#include <algorithm>
#include <optional>
#include <span>
#include <type_traits>

namespace tesmirol {

// One row of a handler table: the control (or command) identifier, the
// notification code that arrives with it in WM_COMMAND (0 for a menu command,
// a click or a key of the dialog manager), and the member that handles it.
template <class Handler>
struct CommandHandler {
  int controlId = 0;
  unsigned int notifyCode = 0;
  void (Handler::*handler)() = nullptr;
};

// The member that the first row for this control and notification names, or
// no result when the table has no such row.
template <class Handler>
constexpr std::optional<void (Handler::*)()> FindCommandHandler(std::span<const CommandHandler<Handler>> table,
                                                                int controlId, unsigned int notifyCode) noexcept {
  const auto row = std::find_if(table.begin(), table.end(), [&](const CommandHandler<Handler>& candidate) {
    return candidate.controlId == controlId && candidate.notifyCode == notifyCode && candidate.handler != nullptr;
  });
  if (row == table.end()) {
    return std::nullopt;
  }
  return row->handler;
}

// Calls the member that the table names for this control and notification;
// false when the table has none, so that the caller can pass the command on.
template <class Handler>
bool RouteCommand(Handler& target, std::span<const CommandHandler<std::type_identity_t<Handler>>> table, int controlId,
                  unsigned int notifyCode) {
  const std::optional<void (Handler::*)()> handler = FindCommandHandler<Handler>(table, controlId, notifyCode);
  if (!handler) {
    return false;
  }
  (target.*(*handler))();
  return true;
}

}  // namespace tesmirol
