#pragma once

#include "dialogs/sound_dlg.h"

namespace kelvora {

// Speaker volume calibration: a level in percent on a slider and in an edit
// field that follow each other, and a button that plays a one-second sample.
// The caller sets the level it starts at; the level chosen is volume().
class CVolumeDlg : public CSoundDlg {
 public:
  CVolumeDlg(WavePlayer& player, platform::Services& services, QWidget* parent = nullptr);

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id) override;

 private:
  void OnPlaySample();
  void OnHScroll();
  void OnChangeVolumePercent();
};

}  // namespace kelvora
