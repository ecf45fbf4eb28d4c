#pragma once

#include <optional>

#include "check/session_command.h"

namespace kelvora {

// The main dialog's control or menu number of a session command, and back.
int ControlOf(SessionCommand command);
// Nothing for a number the session does not speak of.
std::optional<SessionCommand> SessionCommandOf(int id);

}  // namespace kelvora
