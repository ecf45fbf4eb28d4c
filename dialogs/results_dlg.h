#pragma once

#include <QDate>
#include <QImage>
#include <QStandardPaths>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/picture_texts.h"
#include "platform/files/safe_file.h"
#include "platform/qt/remembered_settings.h"
#include "platform/qt/template_dialog.h"
#include "results/history.h"
#include "results/results_pictures.h"
#include "results/staircase.h"

class QComboBox;

namespace kelvora {

// The results window: this session's staircase over the sessions of the
// history file, with the pictures and the file to save.
// The sessions picture shows those of the current listener on the current
// output, or of the listener and output chosen in its two combo boxes.
class CResultsDlg : public platform::TemplateDialog {
 public:
  // The saves start in the folder of the last save of their kind kept in
  // `settings`, else in the user's Pictures or Documents folder, and propose
  // a name with `today`'s date.
  CResultsDlg(const History& history, platform::Services& services,
              platform::RememberedSettings& settings, QDate today, QWidget* parent = nullptr);

  // Both pictures, one above the other, at `scale` device pixels per pixel.
  QImage RenderPictures(qreal scale) const;
  const StaircaseModel& staircase() const { return m_staircase; }
  const std::vector<SessionPoint>& sessions() const { return m_sessions; }
  // The staircase picture's title, naming the session's listener and output.
  const QString& staircaseTitle() const { return m_staircaseTexts.staircaseTitle; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  void OnSavePicture();
  void OnSaveCsv();
  // The folder a save of `kind` starts in, and the one to start in next time.
  QString SaveFolder(std::string_view kind, QStandardPaths::StandardLocation standard) const;
  void RememberSaveFolder(std::string_view kind, const QString& path);
  // The sessions of the listener and the output chosen.
  void ShowSessions();

  const History& m_history;
  platform::RememberedSettings& m_settings;
  QDate m_today;
  StaircaseModel m_staircase;
  std::vector<SessionPoint> m_sessions;
  std::vector<HistoryRecord> m_fileRecords;
  results::PictureTexts m_staircaseTexts;
  QComboBox* m_listenerChoice = nullptr;
  QComboBox* m_outputChoice = nullptr;
  QWidget* m_staircasePicture = nullptr;
  QWidget* m_sessionsPicture = nullptr;
};

}  // namespace kelvora
