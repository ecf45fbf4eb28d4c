#pragma once

#include <cstdint>

#include "platform/qt/template_dialog.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class WavePlayer;

// Previews and saves a two-second tone of any frequency up to 24000 Hz as a
// WAVE file. The caller sets the volume, runs DoModal, and closes the
// application if failed() (the export buffer could not be had).
class CWaveFileDlg : public platform::TemplateDialog {
 public:
  CWaveFileDlg(WavePlayer& player, platform::Services& services, QWidget* parent = nullptr);

  void SetVolume(std::int32_t volume) { m_volume = volume; }
  std::int32_t volume() const { return m_volume; }
  bool fade() const { return m_fade; }
  bool failed() const { return m_failed; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnDestroy() override;

 private:
  void OnChangeExportFrequency();
  void OnExportPreview();
  void OnExportSave();
  void OnExportFade();
  bool CheckExportFrequency();

  WavePlayer& m_player;
  bool m_fade = false;
  std::int32_t m_volume = 0;
  double m_exportFrequency = 440.0;
  bool m_failed = false;
  WaveBuffer m_exportWave;
};

}  // namespace kelvora
