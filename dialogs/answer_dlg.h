#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>

#include "platform/qt/template_dialog.h"

namespace kelvora {

// The reveal's caption: how many bursts the pattern held.
QString AnswerCaption(int answerCount);

// The pattern line, in UTF-8: twelve 200 ms symbols separated by
// ideographic spaces, each slot showing its burst half and its silent half,
// framed by a silent symbol at either end.
std::string ComposeAnswerPattern(const std::array<bool, 5>& tones);

// Shown after a wrong or don't-know answer: the frequency tested, how many
// bursts the pattern held and which tones sounded.
class CAnswerDlg : public platform::TemplateDialog {
 public:
  CAnswerDlg(platform::Services& services, std::int32_t checkFrequency, int answerCount,
             const std::array<bool, 5>& tones, QWidget* parent = nullptr);

  QString caption() const { return m_caption; }
  QString pattern() const { return m_pattern; }

 protected:
  bool OnInitDialog() override;

 private:
  QString m_caption;
  QString m_pattern;
  std::int32_t m_checkFrequency;
};

}  // namespace kelvora
