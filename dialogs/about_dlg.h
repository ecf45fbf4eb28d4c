#pragma once

#include "platform/qt/template_dialog.h"

namespace kelvora {

// Product name and version, the icons, and a button that opens the author's
// web page with the user's default handler.
class CAboutDlg : public platform::TemplateDialog {
 public:
  explicit CAboutDlg(platform::Services& services, QWidget* parent = nullptr);

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  void OnSiteLink();
};

}  // namespace kelvora
