#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

#include "check/session_command.h"
#include "sound/player.h"

namespace kelvora {

// What the check session needs of the main window and of the machine. The
// main dialog implements it; tests use a recording fake with an instant clock.
class SessionWindow {
 public:
  virtual ~SessionWindow() = default;

  // Controls and menu items by the command they deliver.
  virtual void EnableControl(SessionCommand control, bool enabled) = 0;
  virtual void EnableMenuItem(SessionCommand item, bool enabled) = 0;
  virtual void CheckMenuItem(SessionCommand item, bool checked) = 0;

  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // The status panel and the marks over the frequency display.
  virtual void DrawStatusPanel() = 0;
  virtual void DrawCorrectMark() = 0;
  virtual void DrawWrongMark() = 0;

  // Runs the answer reveal dialog modally: the frequency tested, how many
  // bursts the pattern held and which slots sounded (the window draws them).
  virtual void ShowAnswer(int checkFrequency, int answerCount,
                          const std::array<bool, 5>& slots) = 0;

  // Blocks for `milliseconds`; plays an image and returns when it is over,
  // with what the player made of it.
  virtual void Sleep(int milliseconds) = 0;
  virtual PlayOutcome Play(std::span<const std::uint8_t> image) = 0;

  // Calendar time in whole seconds, as time() gives it; seeds the patterns.
  virtual std::time_t Now() = 0;
};

}  // namespace kelvora
