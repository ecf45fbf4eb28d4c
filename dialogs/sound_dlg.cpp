#include "dialogs/sound_dlg.h"

#include "platform/qt/services.h"
#include "res/resources.h"

namespace kelvora {

CSoundDlg::CSoundDlg(const platform::DialogTemplate& dialogTemplate, WavePlayer& player,
                     platform::Services& services, QWidget* parent)
    : TemplateDialog(dialogTemplate, services, parent), m_player(player) {}

void CSoundDlg::AllocateWave(std::size_t size) {
  m_failed = false;
  if (m_wave.Allocate(size)) return;
  m_failed = true;
  services().MessageBox(this, res::LoadString(IDS_NO_MEMORY), res::LoadString(IDS_APP_TITLE),
                        platform::MessageIcon::Stop);
  // Ends the dialog before any input; the caller then closes the application.
  PostClose();
}

void CSoundDlg::OnDestroy() {
  TemplateDialog::OnDestroy();
  m_wave.Release();
}

}  // namespace kelvora
