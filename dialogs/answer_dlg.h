#pragma once

#include <QString>
#include <cstdint>

#include "platform/qt/template_dialog.h"

namespace kelvora {

// The reveal's caption: how many bursts the pattern held.
QString AnswerCaption(int answerCount);

// Shown after a wrong or don't-know answer: how many bursts the pattern held
// and which slots sounded. The caller fills the three fields, then DoModal.
class CAnswerDlg : public platform::TemplateDialog {
 public:
  explicit CAnswerDlg(platform::Services& services, QWidget* parent = nullptr);

  QString m_caption;
  QString m_pattern;
  std::int32_t m_checkFrequency = 0;

 protected:
  bool OnInitDialog() override;
};

}  // namespace kelvora
