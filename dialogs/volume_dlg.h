#pragma once

#include <cstdint>

#include "platform/qt/template_dialog.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class WavePlayer;

// Speaker volume calibration: a level in percent on a slider and in an edit
// field that follow each other, and a button that plays a one-second sample.
// The caller sets the level it starts at, runs DoModal, and reads volume()
// (and failed()) however the dialog ended.
class CVolumeDlg : public platform::TemplateDialog {
 public:
  CVolumeDlg(WavePlayer& player, platform::Services& services, QWidget* parent = nullptr);

  void SetVolume(std::int32_t volume) { m_volume = volume; }
  std::int32_t volume() const { return m_volume; }
  // The sample's buffer could not be had: the application closes.
  bool failed() const { return m_failed; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;
  void OnDestroy() override;

 private:
  void OnPlaySample();
  void OnHScroll();
  void OnChangeVolumePercent();

  WavePlayer& m_player;
  std::int32_t m_volume = 0;
  bool m_failed = false;
  WaveBuffer m_sampleWave;
};

}  // namespace kelvora
