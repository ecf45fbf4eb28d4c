#include "dialogs/answer_dlg.h"

#include "res/resources.h"

namespace kelvora {

QString AnswerCaption(int answerCount) {
  return res::LoadString(IDS_ANSWER_CAPTION).arg(answerCount);
}

CAnswerDlg::CAnswerDlg(platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kAnswerTemplate, services, parent) {}

bool CAnswerDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  // The frequency that was tested, before the staircase lowers it.
  SetDlgItemText(0, res::LoadString(IDS_ANSWER_TITLE).arg(m_checkFrequency));
  SetDlgItemText(IDC_ANSWER_CAPTION, m_caption);
  SetDlgItemText(IDC_ANSWER_PATTERN, m_pattern);
  return true;
}

}  // namespace kelvora
