#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "platform/files/safe_file.h"
#include "platform/qt/template_dialog.h"
#include "results/history.h"
#include "results/results_pictures.h"
#include "results/staircase.h"

class QComboBox;

namespace kelvora {

// A system error in the window's language: the common ones from the string
// table, the system's own text (`systemText`, or strerror) for the rest.
QString SystemErrorText(int error, const std::string& systemText = {});
QString HistoryErrorText(const HistoryError& error);

// The pictures' words, from the string table in the window's language.
const results::PictureTexts& ResultsPictureTexts();

// The results window: this session's staircase over the sessions of the
// history file, with the pictures and the file to save.
// The sessions picture shows those of the current listener on the current
// output, or of the listener and output chosen in its two combo boxes.
class CResultsDlg : public platform::TemplateDialog {
 public:
  CResultsDlg(const History& history, platform::Services& services, QWidget* parent = nullptr);

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
  void ReportWriteFailure(const QString& path, const platform::WriteResult& result);
  // The sessions of the listener and the output chosen.
  void ShowSessions();

  const History& m_history;
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
