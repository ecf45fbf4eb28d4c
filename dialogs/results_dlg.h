#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "platform/qt/template_dialog.h"
#include "results/history.h"
#include "results/results_pictures.h"
#include "results/staircase.h"

namespace kelvora {

// The pictures' words, from the string table in the window's language.
const results::PictureTexts& ResultsPictureTexts();

// The results window: this session's staircase over the sessions of the
// history file, with the pictures and the file to save.
class CResultsDlg : public platform::TemplateDialog {
 public:
  CResultsDlg(const History& history, platform::Services& services, QWidget* parent = nullptr);

  // Both pictures, one above the other, at `scale` device pixels per pixel.
  QImage RenderPictures(qreal scale) const;
  const StaircaseModel& staircase() const { return m_staircase; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  void OnSavePicture();
  void OnSaveCsv();

  const History& m_history;
  StaircaseModel m_staircase;
  std::vector<SessionPoint> m_sessions;
  QWidget* m_staircasePicture = nullptr;
  QWidget* m_sessionsPicture = nullptr;
};

}  // namespace kelvora
