#pragma once

#include <QString>

#include "platform/qt/template_dialog.h"

namespace kelvora {

// The name of who listens, kept with every check from now on; empty is
// unnamed. OK takes the name as typed, Cancel keeps the one before.
class CListenerDlg : public platform::TemplateDialog {
 public:
  explicit CListenerDlg(platform::Services& services, QWidget* parent = nullptr);

  void SetName(const QString& name) { m_name = name; }
  const QString& name() const { return m_name; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  QString m_name;
};

}  // namespace kelvora
