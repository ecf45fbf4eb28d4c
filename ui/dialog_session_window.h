#pragma once

#include <QPointer>
#include <cstdint>
#include <ctime>
#include <functional>
#include <span>

#include "check/session_window.h"

class QAction;
class QWidget;

namespace kelvora {

class StatusPanel;
class WavePlayer;

namespace platform {
class Services;
class TemplateDialog;
}  // namespace platform

// The pauses around the test pattern and the seed of its random choice.
// Tests replace it with one that does not wait.
class SessionClock {
 public:
  virtual ~SessionClock() = default;
  virtual void Sleep(int milliseconds);
  virtual std::time_t Now();
};

// What the session asks of the main window, done on that window's controls,
// menu, panel, player and clock.
class DialogSessionWindow final : public SessionWindow {
 public:
  using MenuLookup = std::function<QAction*(int command)>;
  // `soundMenu` is told when the sound menu's items follow the session's
  // state, so that the items that follow the volume item can follow it too.
  DialogSessionWindow(platform::TemplateDialog& dialog, platform::Services& services,
                      MenuLookup menu, WavePlayer& player, SessionClock& clock,
                      std::function<void(bool enabled)> soundMenu);

  void EnableControl(SessionCommand control, bool enabled) override;
  void EnableMenuItem(SessionCommand item, bool enabled) override;
  void CheckMenuItem(SessionCommand item, bool checked) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void DrawStatusPanel() override;
  void DrawCorrectMark() override;
  void DrawWrongMark() override;
  void ShowAnswer(int checkFrequency, int answerCount, const std::array<bool, 5>& tones) override;
  void Sleep(int milliseconds) override;
  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  std::time_t Now() override;

  // The panel exists once the menu does; it is drawn only after that.
  void SetPanel(StatusPanel& panel) { m_panel = &panel; }
  // Told what became of each sound the session played, once it has.
  void SetAfterPlay(std::function<void(PlayOutcome)> afterPlay) {
    m_afterPlay = std::move(afterPlay);
  }

 private:
  platform::TemplateDialog& m_dialog;
  platform::Services& m_services;
  MenuLookup m_menu;
  StatusPanel* m_panel = nullptr;
  WavePlayer& m_player;
  SessionClock& m_clock;
  std::function<void(bool)> m_soundMenu;
  std::function<void(PlayOutcome)> m_afterPlay;
  QPointer<QWidget> m_parkedFocus;
};

}  // namespace kelvora
