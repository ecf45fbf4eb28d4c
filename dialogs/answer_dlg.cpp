#include "dialogs/answer_dlg.h"

#include "res/resources.h"

namespace kelvora {

QString AnswerCaption(int answerCount) {
  return res::LoadString(IDS_ANSWER_CAPTION).arg(answerCount);
}

std::string ComposeAnswerPattern(const std::array<bool, 5>& tones) {
  std::string line = "＿　";
  for (bool tone : tones) line += tone ? "○　＿　" : "＿　＿　";
  line += "＿";
  return line;
}

CAnswerDlg::CAnswerDlg(platform::Services& services, std::int32_t checkFrequency, int answerCount,
                       const std::array<bool, 5>& tones, QWidget* parent)
    : TemplateDialog(res::kAnswerTemplate, services, parent),
      m_caption(AnswerCaption(answerCount)),
      m_pattern(QString::fromStdString(ComposeAnswerPattern(tones))),
      m_checkFrequency(checkFrequency) {}

bool CAnswerDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  // The frequency that was tested, before the staircase lowers it.
  SetDlgItemText(0, res::LoadString(IDS_ANSWER_TITLE).arg(m_checkFrequency));
  SetDlgItemText(IDC_ANSWER_CAPTION, m_caption);
  SetDlgItemText(IDC_ANSWER_PATTERN, m_pattern);
  return true;
}

}  // namespace kelvora
