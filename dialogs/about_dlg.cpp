#include "dialogs/about_dlg.h"

#include "platform/qt/services.h"
#include "res/resources.h"

namespace kelvora {

CAboutDlg::CAboutDlg(platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kAboutTemplate, services, parent) {}

bool CAboutDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  SetDlgItemText(IDC_VERSION_TEXT, res::LoadString(IDS_APP_TITLE));
  return true;
}

void CAboutDlg::OnCommand(int id) {
  if (id == IDC_SITE_LINK) {
    OnSiteLink();
    return;
  }
  TemplateDialog::OnCommand(id);
}

void CAboutDlg::OnSiteLink() {
  // The box stays open; each press asks again.
  services().OpenWithDefaultHandler(QString::fromUtf8(res::kAuthorSiteUrl));
}

}  // namespace kelvora
