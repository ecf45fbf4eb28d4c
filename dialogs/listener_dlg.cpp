#include "dialogs/listener_dlg.h"

#include <QLineEdit>

#include "res/resources.h"

namespace kelvora {

CListenerDlg::CListenerDlg(platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kListenerTemplate, services, parent) {}

bool CListenerDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  SetDlgItemText(IDC_LISTENER_NAME, m_name);
  if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_LISTENER_NAME))) edit->selectAll();
  return true;  // the focus goes to the name
}

void CListenerDlg::OnCommand(int id) {
  if (id == IDOK) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_LISTENER_NAME))) {
      m_name = edit->text();
    }
  }
  TemplateDialog::OnCommand(id);
}

}  // namespace kelvora
