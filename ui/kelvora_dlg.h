#pragma once

#include <QIcon>
#include <QPointer>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "check/check_observer.h"
#include "check/check_session.h"
#include "platform/qt/remembered_settings.h"
#include "platform/qt/template_dialog.h"
#include "res/language.h"
#include "results/history.h"
#include "results/history_writer.h"
#include "sound/player.h"
#include "ui/dialog_session_window.h"
#include "ui/outputs.h"
#include "ui/sound_path_check.h"

class QAction;
class QMenu;

namespace kelvora {

class StatusPanel;

namespace platform {
class RememberedSettings;
class ToolTips;
}  // namespace platform

// The main dialog: owns the session, its three sound buffers, the menu, the
// keys, the tips and the status panel, and turns every command into a call on
// the session or on one of its own handlers.
class CKelvoraDlg : public platform::TemplateDialog, private CheckObserver {
 public:
  // `services` runs this dialog and every dialog it opens. Every answered
  // check goes to `history`; without one, the checks are kept for the
  // results window only. `pathCheck`, if any, tells the rate of the sound
  // server's output, so that a path that cannot carry the highest tones is
  // pointed out. `outputs`, if any, are offered in the output submenu and
  // played on. `settings` keeps what is remembered between runs (the output,
  // the listener, the save folders); without it, nothing outlives the window.
  CKelvoraDlg(WavePlayer& player, SessionClock& clock, platform::Services& services,
              History* history = nullptr, SoundPathCheck* pathCheck = nullptr,
              Outputs* outputs = nullptr, platform::RememberedSettings* settings = nullptr,
              QWidget* parent = nullptr);
  ~CKelvoraDlg() override;

  // The language whose help pages F1 opens; the program's own until told.
  void SetLanguage(const res::Language& language) { m_language = &language; }

  // What the window shows, for tests and the screenshot tool.
  const StatusPanel& statusPanel() const { return *m_panel; }
  QAction* menuAction(int command) const;
  // The stand-in for the window menu's extra item (the context menu of the
  // client area); null if it was not set up.
  QMenu* systemMenu() const { return m_systemMenu; }
  // Null until the tips are set up.
  const platform::ToolTips* toolTips() const { return m_toolTip; }
  const History& history() const { return *m_history; }
  // The session as the window reads it.
  SessionView view() const { return m_session.view(); }
  const CheckSession& session() const { return m_session; }
  // The output submenu; its device items are listed when it is about to show.
  QMenu* outputMenu() const;

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnDestroy() override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  void OnSysCommand(int code);
  void OnSoundVolume();
  void OnFileMakeWave();
  void OnFileResults();
  void OnFileListener();
  void OnMenuExit();
  void OnHelpAbout();
  void OnHelpUsage();
  void OnSoundEar(Ear ear);
  // `device.id` "" is the default output.
  void OnSoundOutput(const platform::OutputDevice& device);

  // The sound-path warning: asked before a volume dialog, shown after it.
  void AskSoundPath();
  void SoundPathMayWarn();
  void WarnAboutSoundPath();

 private:
  // CheckObserver
  void OnCheckJudged(const JudgedCheck& /*check*/) override {}
  void OnConfirmation(ConfirmationEvent event, int level, int rights, int checks) override;

  // The title: the program, the ear when one is chosen, and a running
  // confirmation with its counts, or else the level confirmed last.
  void ShowTitle();
  // The items that follow the volume item: the results window, the ears, and
  // the confirmation item while there is something to confirm or to end.
  void EnableSoundMenu(bool idle);
  void EnableConfirmItem(bool idle);
  void CheckMenuItem(int id, bool checked);
  // Says once per run that the history cannot take the checks for now and
  // keeps them; at exit, how many it could not take in the end.
  void TellHistoryFault();
  void TellHistoryNotSaved();
  // The listener and the output remembered from the last run, the output if
  // it is there.
  void RestoreOutput();
  void ListOutputsInMenu();
  void MarkOutput();
  // Says once that the chosen output went away, before or during `outcome`.
  void AfterSound(PlayOutcome outcome);
  void ShowOutputMessage(const QString& text);

  WavePlayer& m_player;
  SessionClock& m_clock;
  std::unique_ptr<History> m_ownHistory;
  History* m_history;
  std::unique_ptr<platform::RememberedSettings> m_ownSettings;
  platform::RememberedSettings* m_settings;
  QIcon m_icon;
  const res::Language* m_language = &res::Languages().front();
  std::map<int, QAction*> m_menuActions;
  QMenu* m_systemMenu = nullptr;
  platform::ToolTips* m_toolTip = nullptr;
  StatusPanel* m_panel = nullptr;
  DialogSessionWindow m_window;
  CheckSession m_session;
  bool m_sessionBegun = false;
  // The level confirmed last in this session, shown until the session ends.
  std::optional<std::int32_t> m_confirmedLevel;
  // The level that just failed, said once: until the next level's first check.
  std::optional<std::int32_t> m_failedLevel;
  HistoryWriter m_historyWriter;
  bool m_historyFaultTold = false;

  SoundPathCheck* m_pathCheck;
  int m_pathQuestion = 0;  // answers to earlier questions are stale
  bool m_pathAnswered = false;
  KnownPath m_path;
  bool m_pathMayWarn = false;  // the volume dialog has closed, the window is up
  KnownPath m_pathLast;        // the last path known

  Outputs* m_outputs;
  platform::OutputDevice m_output;  // the chosen one, as the menu showed it; id "" the default
  QString m_startupNote;            // said in the start-up warning box
  bool m_outputLostSaid = false;    // once per choice
  std::vector<QAction*> m_deviceActions;
};

}  // namespace kelvora
