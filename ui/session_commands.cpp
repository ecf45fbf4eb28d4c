#include "ui/session_commands.h"

#include "res/resource.h"

namespace kelvora {
namespace {

struct CommandControl {
  SessionCommand command;
  int id;
};

using enum SessionCommand;
constexpr CommandControl kCommandControls[] = {
    {Start, IDC_START},
    {Answer1, IDC_ANSWER1},
    {Answer2, IDC_ANSWER2},
    {Answer3, IDC_ANSWER3},
    {Answer4, IDC_ANSWER4},
    {Answer5, IDC_ANSWER5},
    {DontKnow, IDC_DONT_KNOW},
    {Restart, IDC_RESTART},
    {Up1k, IDC_UP_1K},
    {Down1k, IDC_DOWN_1K},
    {Up100, IDC_UP_100},
    {Down100, IDC_DOWN_100},
    {Up10, IDC_UP_10},
    {Down10, IDC_DOWN_10},
    {Set8k, IDC_SET_8K},
    {Set16k, IDC_SET_16K},
    {AutoChange, ID_SOUND_AUTO_CHANGE},
    {ContinuousTone, ID_SOUND_CONTINUOUS},
    {Silence, ID_SOUND_SILENCE},
    {ConfirmRecord, ID_SOUND_CONFIRM_RECORD},
    {Volume, ID_SOUND_VOLUME},
};

}  // namespace

int ControlOf(SessionCommand command) {
  for (const CommandControl& row : kCommandControls) {
    if (row.command == command) return row.id;
  }
  return 0;
}

std::optional<SessionCommand> SessionCommandOf(int id) {
  for (const CommandControl& row : kCommandControls) {
    if (row.id == id) return row.command;
  }
  return std::nullopt;
}

}  // namespace kelvora
