#pragma once

namespace kelvora {

// What the session is told to do, and the controls and menu items it arranges:
// a button, its menu item and its key deliver the same command. The window
// maps its own control and menu numbers to these.
enum class SessionCommand {
  Start,
  Answer1,
  Answer2,
  Answer3,
  Answer4,
  Answer5,
  DontKnow,
  Restart,
  Up1k,
  Down1k,
  Up100,
  Down100,
  Up10,
  Down10,
  Set8k,
  Set16k,
  AutoChange,
  ContinuousTone,
  Silence,
  ConfirmRecord,
  // The window's own item; the session only grays it with the other sounds.
  Volume,
};

// The answer buttons, enabled only while an answer is awaited.
inline constexpr SessionCommand kAnswerCommands[] = {
    SessionCommand::Answer1, SessionCommand::Answer2, SessionCommand::Answer3,
    SessionCommand::Answer4, SessionCommand::Answer5, SessionCommand::DontKnow};

}  // namespace kelvora
