#pragma once

#include "dialogs/sound_dlg.h"

namespace kelvora {

// Previews and saves a two-second tone of any frequency up to 24000 Hz as a
// WAVE file, at the volume the caller sets.
class CWaveFileDlg : public CSoundDlg {
 public:
  CWaveFileDlg(WavePlayer& player, platform::Services& services, QWidget* parent = nullptr);

  bool fade() const { return m_fade; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  void OnChangeExportFrequency();
  void OnExportPreview();
  void OnExportSave();
  void OnExportFade();
  bool CheckExportFrequency();

  bool m_fade = false;
  double m_exportFrequency = 440.0;
};

}  // namespace kelvora
