#include "ui/kelvora_dlg.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <utility>

#include "check/record_confirmation.h"
#include "dialogs/about_dlg.h"
#include "dialogs/answer_dlg.h"
#include "dialogs/error_text.h"
#include "dialogs/listener_dlg.h"
#include "dialogs/results_dlg.h"
#include "dialogs/volume_dlg.h"
#include "dialogs/wave_file_dlg.h"
#include "platform/qt/menu_template.h"
#include "platform/qt/remembered_settings.h"
#include "platform/qt/services.h"
#include "platform/qt/tool_tips.h"
#include "res/language.h"
#include "res/resources.h"
#include "sound/player.h"
#include "sound/volume.h"
#include "ui/help_location.h"
#include "ui/session_commands.h"
#include "ui/sound_path_check.h"
#include "ui/status_panel.h"

namespace kelvora {
namespace {

struct EarChoice {
  Ear ear;
  int command;
  int titleSuffix;  // a string id; 0 for none
};
constexpr EarChoice kEarChoices[] = {{Ear::Both, ID_SOUND_EAR_BOTH, 0},
                                     {Ear::Left, ID_SOUND_EAR_LEFT, IDS_TITLE_LEFT_EAR},
                                     {Ear::Right, ID_SOUND_EAR_RIGHT, IDS_TITLE_RIGHT_EAR}};

const EarChoice& ChoiceOf(Ear ear) {
  for (const EarChoice& choice : kEarChoices) {
    if (choice.ear == ear) return choice;
  }
  return kEarChoices[0];
}

}  // namespace

CKelvoraDlg::CKelvoraDlg(WavePlayer& player, SessionClock& clock, platform::Services& services,
                         History* history, SoundPathCheck* pathCheck, Outputs* outputs,
                         platform::RememberedSettings* settings, QWidget* parent)
    : TemplateDialog(res::kMainTemplate, services, parent),
      m_player(player),
      m_clock(clock),
      m_ownHistory(history ? nullptr : std::make_unique<History>(std::string())),
      m_history(history ? history : m_ownHistory.get()),
      m_ownSettings(settings ? nullptr : std::make_unique<platform::MemoryRememberedSettings>()),
      m_settings(settings ? settings : m_ownSettings.get()),
      m_icon(platform::LoadIcon(res::kAppIconName)),
      m_window(
          *this, services, [this](int id) { return menuAction(id); }, player, clock,
          [this](bool idle) { EnableSoundMenu(idle); }),
      m_session(m_window),
      m_historyWriter(*m_history, [&clock] { return clock.Now(); }),
      m_pathCheck(pathCheck),
      m_outputs(outputs) {
  // The line is kept before the window hears of the check.
  m_session.AddObserver(m_historyWriter);
  m_session.AddObserver(*this);
  // The menu comes with the window, before initialisation, as the template's menu does.
  SetMenuBar(platform::BuildMenuBar(
      res::kMainMenu, this,
      [this](int id) {
        // The menu has just closed, but the window repaints the area it
        // covered only from the event loop, which a sound may block for
        // seconds; without a compositor the menu's image would stay.
        if (isVisible()) repaint();
        OnCommand(id);
      },
      &m_menuActions));
  // The item carries a check mark while a confirmation runs.
  if (QAction* confirm = menuAction(ID_SOUND_CONFIRM_RECORD)) confirm->setCheckable(true);
  // Outputs come and go: the submenu shows the ones there are as it opens.
  if (QMenu* outputs = outputMenu()) {
    connect(outputs, &QMenu::aboutToShow, this, [this] { ListOutputsInMenu(); });
  }
  m_window.SetAfterPlay([this](PlayOutcome outcome) { AfterSound(outcome); });
  m_panel = new StatusPanel(
      client(), [this] { return m_session.view(); }, LayoutPanel(baseUnits()));
  m_window.SetPanel(*m_panel);
}

CKelvoraDlg::~CKelvoraDlg() = default;

QAction* CKelvoraDlg::menuAction(int command) const {
  const auto it = m_menuActions.find(command);
  return it == m_menuActions.end() ? nullptr : it->second;
}

QMenu* CKelvoraDlg::outputMenu() const {
  QAction* popup = platform::PopupActionOf(menuAction(ID_SOUND_OUTPUT_DEFAULT));
  return popup ? popup->menu() : nullptr;
}

bool CKelvoraDlg::OnInitDialog() {
  // The window menu belongs to the window manager here, so its extra item
  // is offered by the context menu of the dialog instead.
  const QString aboutItem = res::LoadString(IDS_ABOUTBOX);
  if (!aboutItem.isEmpty()) {
    m_systemMenu = new QMenu(this);
    QAction* about = m_systemMenu->addAction(aboutItem);
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
  }

  setWindowIcon(m_icon);
  SetAccelerators(res::MainAccelerators());
  SetDlgItemText(0, res::LoadString(IDS_APP_TITLE));
  for (SessionCommand answer : kAnswerCommands) EnableDlgItem(ControlOf(answer), false);

  if (!m_session.AllocateBuffers()) {
    services().MessageBox(this, res::LoadString(IDS_NO_MEMORY), res::LoadString(IDS_APP_TITLE),
                          platform::MessageIcon::Stop);
    // Closes the dialog before it is ever shown; nothing below may run, as
    // the session's fields stay unset.
    PostClose();
    return true;
  }

  RestoreOutput();
  AskSoundPath();
  CVolumeDlg volumeDlg(m_player, services());
  volumeDlg.SetVolume(kStartVolume);
  volumeDlg.DoModal();
  // The volume dialog has told the user why; the application just closes.
  if (volumeDlg.failed()) PostClose();
  // The window is shown once this returns; a warning waits for that.
  if (!volumeDlg.failed()) {
    QMetaObject::invokeMethod(
        this, [this] { SoundPathMayWarn(); }, Qt::QueuedConnection);
  }
  m_session.Begin(volumeDlg.volume());
  m_sessionBegun = true;
  EnableConfirmItem(true);  // nothing to confirm yet
  m_history->StartSession();

  m_toolTip = new platform::ToolTips(this);
  for (const res::ToolTipText& tip : res::MainToolTips()) {
    m_toolTip->Add(GetDlgItem(tip.control), tip.text);
  }

  m_panel->Draw();
  return true;  // the focus goes to the start button, the default button
}

void CKelvoraDlg::OnCommand(int id) {
  if (m_sessionBegun) {
    const CheckState before = m_session.view().state;
    const std::optional<SessionCommand> command = SessionCommandOf(id);
    if (command && m_session.HandleCommand(*command)) {
      if (command == SessionCommand::Restart && before != CheckState::Busy) {
        m_history->StartSession();
        // A confirmed level belongs to the session that confirmed it.
        m_confirmedLevel.reset();
        ShowTitle();
      }
      // After the verdict has sounded, never in the middle of a check.
      TellHistoryFault();
      return;
    }
  }
  switch (id) {
    case ID_SOUND_VOLUME:
      OnSoundVolume();
      return;
    case ID_FILE_MAKE_WAVE:
      OnFileMakeWave();
      return;
    case ID_FILE_RESULTS:
      OnFileResults();
      return;
    case ID_FILE_LISTENER:
      OnFileListener();
      return;
    case ID_APP_EXIT_CMD:
      OnMenuExit();
      return;
    case ID_HELP_ABOUT:
      OnHelpAbout();
      return;
    case ID_HELP_USAGE:
      OnHelpUsage();
      return;
    case ID_SOUND_OUTPUT_DEFAULT:
      OnSoundOutput({});
      return;
    default:
      for (const EarChoice& choice : kEarChoices) {
        if (id == choice.command) {
          OnSoundEar(choice.ear);
          return;
        }
      }
      TemplateDialog::OnCommand(id);
  }
}

void CKelvoraDlg::OnDestroy() {
  m_session.ReleaseBuffers();
  TellHistoryNotSaved();
}

void CKelvoraDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (!m_systemMenu) {
    TemplateDialog::contextMenuEvent(event);
    return;
  }
  m_systemMenu->popup(event->globalPos());
  event->accept();
}

void CKelvoraDlg::OnSysCommand(int code) {
  if ((code & 0xFFF0) == IDM_ABOUTBOX) OnHelpAbout();
}

// The chime and the buzz keep the start-up level; every sound rendered from
// now on takes the new one.
void CKelvoraDlg::OnSoundVolume() {
  // Headphones may have been plugged in since, or a headset changed profile.
  AskSoundPath();
  CVolumeDlg dlg(m_player, services(), this);
  dlg.SetVolume(m_session.view().volume);
  dlg.DoModal();
  if (dlg.failed()) PostClose();
  m_session.SetVolume(dlg.volume());
  if (!dlg.failed()) SoundPathMayWarn();
}

void CKelvoraDlg::AskSoundPath() {
  if (!m_pathCheck) {
    // Nothing to wait for: what else the start-up box says is shown at once.
    m_pathAnswered = true;
    return;
  }
  const int question = ++m_pathQuestion;
  m_pathAnswered = false;
  m_pathMayWarn = false;
  m_pathCheck->Start([self = QPointer<CKelvoraDlg>(this), question](KnownPath path) {
    if (!self || question != self->m_pathQuestion) return;
    self->m_pathAnswered = true;
    self->m_path = std::move(path);
    self->WarnAboutSoundPath();
  });
}

void CKelvoraDlg::SoundPathMayWarn() {
  m_pathMayWarn = true;
  WarnAboutSoundPath();
}

// Once both the answer and the window are there. Unknown says nothing and
// forgets nothing; a known path warns when it is new and bad.
void CKelvoraDlg::WarnAboutSoundPath() {
  if (!m_pathAnswered || !m_pathMayWarn) return;
  m_pathAnswered = false;
  m_pathMayWarn = false;
  QStringList parts;
  if (!m_startupNote.isEmpty()) parts << std::exchange(m_startupNote, QString());
  bool earLost = false;
  if (m_path && m_path != m_pathLast) {
    m_pathLast = m_path;
    if (const QString warning = SoundPathWarning(m_path); !warning.isEmpty()) parts << warning;
    earLost = m_session.view().ear != Ear::Both && OneChannelOutput(m_path);
    if (earLost) parts << OneChannelWarning();
  }
  if (parts.isEmpty()) return;
  services().MessageBox(this, parts.join(QStringLiteral("\r\n\r\n")),
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Exclamation);
  if (earLost) OnSoundEar(Ear::Both);
}

void CKelvoraDlg::OnFileMakeWave() {
  CWaveFileDlg dlg(m_player, services(), this);
  dlg.SetVolume(m_session.view().volume);
  dlg.DoModal();
  if (dlg.failed()) PostClose();
}

void CKelvoraDlg::OnFileResults() {
  // The file may take the waiting lines by now; the window reads it after.
  m_history->WritePending();
  TellHistoryFault();
  // The day of the names of the saves is the session's own.
  CResultsDlg dlg(*m_history, services(), *m_settings,
                  QDateTime::fromSecsSinceEpoch(m_clock.Now()).date(), this);
  dlg.DoModal();
}

// The title follows the confirmation check by check. A failed level is said
// there too, not in a message box: the listener is in the middle of a run of
// checks, and keys meant for the next check would only close the box.
void CKelvoraDlg::OnConfirmation(ConfirmationEvent event, int level, int rights, int checks) {
  m_failedLevel.reset();
  if (event == ConfirmationEvent::NextLevel) m_failedLevel = level + RecordConfirmation::kLevelStep;
  if (event == ConfirmationEvent::Confirmed) m_confirmedLevel = level;
  ShowTitle();
  if (event == ConfirmationEvent::Confirmed) {
    services().MessageBox(this,
                          res::LoadString(IDS_RECORD_CONFIRMED).arg(level).arg(checks).arg(rights),
                          res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Information);
  } else if (event == ConfirmationEvent::NoLevel) {
    services().MessageBox(this, res::LoadString(IDS_NO_LEVEL_CONFIRMED),
                          res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Information);
  }
}

void CKelvoraDlg::ShowTitle() {
  const SessionView session = m_session.view();
  QString title =
      res::LoadString(IDS_APP_TITLE) + res::LoadString(ChoiceOf(session.ear).titleSuffix);
  if (const std::optional<std::int32_t> level = session.confirmingLevel) {
    if (session.confirmingChecks > 0) {
      title += res::LoadString(IDS_CONFIRMING_COUNTS_TITLE)
                   .arg(*level)
                   .arg(session.confirmingChecks)
                   .arg(session.confirmingRights);
    } else if (m_failedLevel) {
      title += res::LoadString(IDS_CONFIRMING_AFTER_FAILURE_TITLE).arg(*level).arg(*m_failedLevel);
    } else {
      title += res::LoadString(IDS_CONFIRMING_TITLE).arg(*level);
    }
  } else if (m_confirmedLevel) {
    title += res::LoadString(IDS_CONFIRMED_TITLE).arg(*m_confirmedLevel);
  }
  SetDlgItemText(0, title);
}

void CKelvoraDlg::EnableConfirmItem(bool idle) {
  if (QAction* confirm = menuAction(ID_SOUND_CONFIRM_RECORD)) {
    confirm->setEnabled(idle && m_session.CanConfirmRecord());
  }
}

// A close request handled before returning, so the menu ends the dialog as
// the close box does.
void CKelvoraDlg::OnMenuExit() { close(); }

void CKelvoraDlg::OnHelpAbout() {
  CAboutDlg dlg(services(), this);
  dlg.DoModal();
}

// Without a browser (or without the page) the user is told where the page
// is, to open it by hand.
void CKelvoraDlg::OnHelpUsage() {
  const QString page =
      HelpPageToOpen(QDir::currentPath(), QCoreApplication::applicationDirPath(), *m_language);
  if (services().OpenWithDefaultHandler(page)) return;
  services().MessageBox(this,
                        res::LoadString(IDS_HELP_NOT_OPENED)
                            .arg(QDir::toNativeSeparators(platform::UrlToOpen(page).toLocalFile())),
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
}

// A record belongs to one ear: another ear starts the session afresh.
void CKelvoraDlg::OnSoundEar(Ear ear) {
  // One channel plays both of ours mixed: no ear hears its sound alone.
  if (ear != Ear::Both && OneChannelOutput(m_path)) {
    services().MessageBox(this, OneChannelWarning(), res::LoadString(IDS_APP_TITLE),
                          platform::MessageIcon::Exclamation);
    ear = Ear::Both;
  }
  const SessionView session = m_session.view();
  if (m_sessionBegun && session.state == CheckState::Idle && ear != session.ear) {
    m_player.SetEar(ear);
    m_history->SetEar(ear);
    m_session.ChooseEar(ear);
    m_confirmedLevel.reset();
    ShowTitle();
  }
  // The mark shows the ear that sounds go to, whatever was chosen.
  CheckMenuItem(ChoiceOf(m_session.view().ear).command, true);
}

void CKelvoraDlg::EnableSoundMenu(bool idle) {
  // The results window and the ear may change only between checks, as the
  // volume may.
  if (QAction* results = menuAction(ID_FILE_RESULTS)) results->setEnabled(idle);
  if (QAction* listener = menuAction(ID_FILE_LISTENER)) listener->setEnabled(idle);
  if (QAction* ears = platform::PopupActionOf(menuAction(ID_SOUND_EAR_BOTH))) {
    ears->setEnabled(idle);
  }
  if (QMenu* outputs = outputMenu()) outputs->menuAction()->setEnabled(idle);
  EnableConfirmItem(idle);
}

void CKelvoraDlg::CheckMenuItem(int id, bool checked) {
  if (QAction* action = menuAction(id)) action->setChecked(checked);
}

// Without a history of the caller's, the checks are the window's alone and
// nothing is ever said about a file.
void CKelvoraDlg::TellHistoryFault() {
  const HistoryError& error = m_history->writeError();
  if (m_ownHistory || m_historyFaultTold || !error.failed()) return;
  m_historyFaultTold = true;
  const QString path = QDir::toNativeSeparators(QString::fromStdString(m_history->path()));
  const QString text =
      error.fault == HistoryFault::InUse
          ? res::LoadString(IDS_HISTORY_IN_USE).arg(path)
          : res::LoadString(IDS_HISTORY_CANNOT_WRITE).arg(HistoryErrorText(error), path);
  services().MessageBox(this, text, res::LoadString(IDS_APP_TITLE),
                        platform::MessageIcon::Exclamation);
}

void CKelvoraDlg::TellHistoryNotSaved() {
  if (m_ownHistory || m_history->WritePending()) return;
  const QString path = QDir::toNativeSeparators(QString::fromStdString(m_history->path()));
  services().MessageBox(this,
                        res::LoadString(IDS_HISTORY_NOT_SAVED)
                            .arg(QString::number(m_history->pending().size()), path),
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
}

void CKelvoraDlg::RestoreOutput() {
  m_history->SetListener(m_settings->Value(platform::kListenerKey).toStdString());
  if (!m_outputs) return;
  const std::string remembered = m_settings->Value(platform::kOutputDeviceKey).toStdString();
  if (!remembered.empty()) {
    for (const platform::OutputDevice& device : m_outputs->List()) {
      if (device.id != remembered) continue;
      m_output = device;
      m_outputs->Use(device.id);
      if (m_pathCheck) m_pathCheck->SetOutput(device.id);
      m_history->SetOutput(device.description);
      return;
    }
  }
  m_history->SetOutput(m_outputs->DefaultDescription());
  if (remembered.empty()) return;
  // The choice stays remembered: the device may be back next time.
  QString name = m_settings->Value(platform::kOutputDescriptionKey);
  if (name.isEmpty()) name = QString::fromStdString(remembered);
  m_startupNote = res::LoadString(IDS_OUTPUT_ABSENT_AT_START).arg(name);
}

void CKelvoraDlg::ListOutputsInMenu() {
  QMenu* menu = outputMenu();
  QAction* defaultItem = menuAction(ID_SOUND_OUTPUT_DEFAULT);
  if (!menu || !defaultItem) return;
  for (QAction* action : m_deviceActions) delete action;
  m_deviceActions.clear();
  const std::vector<platform::OutputDevice> devices =
      m_outputs ? m_outputs->List() : std::vector<platform::OutputDevice>();
  for (const platform::OutputDevice& device : devices) {
    QString text =
        QString::fromStdString(device.description.empty() ? device.id : device.description);
    // A description is shown as it is, never read as a mnemonic.
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setData(QString::fromStdString(device.id));
    if (QActionGroup* group = defaultItem->actionGroup()) group->addAction(action);
    connect(action, &QAction::triggered, this, [this, device] {
      if (isVisible()) repaint();  // as for the template's items
      OnSoundOutput(device);
    });
    m_deviceActions.push_back(action);
  }
  MarkOutput();
}

// The mark shows the output that sounds go to; the default one while the
// chosen one is not listed.
void CKelvoraDlg::MarkOutput() {
  bool marked = false;
  for (QAction* action : m_deviceActions) {
    const bool chosen =
        !m_output.id.empty() && action->data().toString().toStdString() == m_output.id;
    action->setChecked(chosen);
    marked = marked || chosen;
  }
  if (!marked) CheckMenuItem(ID_SOUND_OUTPUT_DEFAULT, true);
}

// Like the ear, the output changes only between checks, and a record belongs
// to the chain that played it: another output starts the session afresh.
void CKelvoraDlg::OnSoundOutput(const platform::OutputDevice& device) {
  const SessionView session = m_session.view();
  if (m_sessionBegun && session.state == CheckState::Idle && device.id != m_output.id) {
    m_output = device;
    m_outputLostSaid = false;
    if (m_outputs) {
      m_outputs->Use(device.id);
      m_history->SetOutput(device.id.empty() ? m_outputs->DefaultDescription()
                                             : device.description);
    }
    m_settings->SetValue(platform::kOutputDeviceKey, QString::fromStdString(device.id));
    m_settings->SetValue(platform::kOutputDescriptionKey,
                         QString::fromStdString(device.description));
    if (m_session.HandleCommand(SessionCommand::Restart)) m_history->StartSession();
    // The new output is asked about afresh and warned about as at start-up.
    if (m_pathCheck) m_pathCheck->SetOutput(device.id);
    m_pathLast.reset();
    AskSoundPath();
    SoundPathMayWarn();
  }
  MarkOutput();
}

void CKelvoraDlg::AfterSound(PlayOutcome outcome) {
  if (!m_outputs) return;
  // The default output is whatever the system plays to at the moment.
  if (m_output.id.empty()) {
    m_history->SetOutput(m_outputs->DefaultDescription());
    return;
  }
  const std::optional<std::string> missing = m_outputs->TakeMissing();
  if (missing) m_history->SetOutput(m_outputs->DefaultDescription());
  if (m_outputLostSaid) return;
  const QString name =
      QString::fromStdString(m_output.description.empty() ? m_output.id : m_output.description);
  if (missing) {
    m_outputLostSaid = true;
    ShowOutputMessage(res::LoadString(IDS_OUTPUT_GONE).arg(name));
    return;
  }
  if (outcome != PlayOutcome::GivenUp) return;
  // A sound given up on an output that is still there is the server's fault.
  for (const platform::OutputDevice& device : m_outputs->List()) {
    if (device.id == m_output.id) return;
  }
  m_outputLostSaid = true;
  ShowOutputMessage(res::LoadString(IDS_OUTPUT_LOST_DURING_SOUND).arg(name));
}

// Queued: the session finishes its sounds first, and the box comes when the
// window waits for the listener.
void CKelvoraDlg::ShowOutputMessage(const QString& text) {
  QMetaObject::invokeMethod(
      this,
      [self = QPointer<CKelvoraDlg>(this), text] {
        if (!self) return;
        self->services().MessageBox(self, text, res::LoadString(IDS_APP_TITLE),
                                    platform::MessageIcon::Exclamation);
      },
      Qt::QueuedConnection);
}

// Another listener starts the session afresh, as another ear does.
void CKelvoraDlg::OnFileListener() {
  const QString before = QString::fromStdString(m_history->listener());
  CListenerDlg dlg(services(), this);
  dlg.SetName(before);
  if (dlg.DoModal() != IDOK || dlg.name() == before) return;
  m_history->SetListener(dlg.name().toStdString());
  m_settings->SetValue(platform::kListenerKey, dlg.name());
  if (m_sessionBegun && m_session.HandleCommand(SessionCommand::Restart)) {
    m_history->StartSession();
  }
}

}  // namespace kelvora
