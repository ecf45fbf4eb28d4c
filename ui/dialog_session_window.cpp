#include "ui/dialog_session_window.h"

#include <QAction>
#include <QWidget>
#include <chrono>
#include <thread>
#include <utility>

#include "dialogs/answer_dlg.h"
#include "platform/qt/menu_template.h"
#include "platform/qt/services.h"
#include "platform/qt/template_dialog.h"
#include "res/resource.h"
#include "sound/player.h"
#include "ui/session_commands.h"
#include "ui/status_panel.h"

namespace kelvora {

void SessionClock::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::time_t SessionClock::Now() { return std::time(nullptr); }

DialogSessionWindow::DialogSessionWindow(platform::TemplateDialog& dialog,
                                         platform::Services& services, MenuLookup menu,
                                         WavePlayer& player, SessionClock& clock,
                                         std::function<void(bool enabled)> soundMenu)
    : m_dialog(dialog),
      m_services(services),
      m_menu(std::move(menu)),
      m_player(player),
      m_clock(clock),
      m_soundMenu(std::move(soundMenu)) {}

void DialogSessionWindow::EnableControl(SessionCommand command, bool enabled) {
  QWidget* control = m_dialog.GetDlgItem(ControlOf(command));
  if (!control) return;
  const bool changed = control->isEnabled() != enabled;
  // Qt moves the focus off a control it disables; the focus comes back when
  // that control is enabled again, so the start button keeps it across checks.
  if (!enabled && control->hasFocus()) m_parkedFocus = control;
  control->setEnabled(enabled);
  if (enabled && control == m_parkedFocus) {
    control->setFocus();
    m_parkedFocus = nullptr;
  }
  // A sound may block the event loop next: the new state must be on screen
  // before it starts, without handling any input queued meanwhile.
  if (changed && control->isVisible()) control->repaint();
}

void DialogSessionWindow::EnableMenuItem(SessionCommand item, bool enabled) {
  if (QAction* action = m_menu(ControlOf(item))) action->setEnabled(enabled);
  if (item == SessionCommand::Volume && m_soundMenu) m_soundMenu(enabled);
}

void DialogSessionWindow::CheckMenuItem(SessionCommand item, bool checked) {
  if (QAction* action = m_menu(ControlOf(item))) action->setChecked(checked);
}

void DialogSessionWindow::BeginWaitCursor() { platform::BeginWaitCursor(); }

void DialogSessionWindow::EndWaitCursor() { platform::EndWaitCursor(); }

void DialogSessionWindow::DrawStatusPanel() { m_panel->Draw(); }

void DialogSessionWindow::DrawCorrectMark() { m_panel->DrawMark(PanelMark::Circle); }

void DialogSessionWindow::DrawWrongMark() { m_panel->DrawMark(PanelMark::Cross); }

void DialogSessionWindow::ShowAnswer(int checkFrequency, int answerCount,
                                     const std::array<bool, 5>& tones) {
  CAnswerDlg dlg(m_services, checkFrequency, answerCount, tones, &m_dialog);
  dlg.DoModal();
}

void DialogSessionWindow::Sleep(int milliseconds) { m_clock.Sleep(milliseconds); }

PlayOutcome DialogSessionWindow::Play(std::span<const std::uint8_t> image) {
  const PlayOutcome outcome = m_player.Play(image);
  if (m_afterPlay) m_afterPlay(outcome);
  return outcome;
}

std::time_t DialogSessionWindow::Now() { return m_clock.Now(); }

}  // namespace kelvora
