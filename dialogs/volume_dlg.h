#pragma once

#include <cstdint>

#include "platform/qt/template_dialog.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class WavePlayer;

// Speaker volume calibration: a level in percent on a slider and in an edit
// field that follow each other, and a button that plays a one-second sample.
// The caller sets m_volume, runs DoModal, and reads m_volume (and m_failed)
// however the dialog ended.
class CVolumeDlg : public platform::TemplateDialog {
 public:
  CVolumeDlg(WavePlayer& player, platform::Services& services, QWidget* parent = nullptr);

  std::int32_t m_volume = 0;
  bool m_failed = false;

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnDestroy() override;

 private:
  void OnPlaySample();
  void OnHScroll();
  void OnChangeVolumePercent();

  WavePlayer& m_player;
  WaveBuffer m_sampleWave;
};

}  // namespace kelvora
