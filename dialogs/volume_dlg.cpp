#include "dialogs/volume_dlg.h"

#include <QLineEdit>
#include <QSlider>

#include "dialogs/number_text.h"
#include "platform/qt/services.h"
#include "res/resources.h"
#include "sound/player.h"
#include "sound/synthesis.h"
#include "sound/volume.h"

namespace kelvora {

CVolumeDlg::CVolumeDlg(WavePlayer& player, platform::Services& services, QWidget* parent)
    : CSoundDlg(res::kVolumeTemplate, player, services, parent) {
  auto* slider = qobject_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_VOLUME_PERCENT));
  // Only the user's movements count: setting the position from the program
  // must not come back here, or the slider and the field would chase each other.
  connect(slider, &QAbstractSlider::actionTriggered, this, [this] { OnHScroll(); });
  connect(slider, &QAbstractSlider::sliderReleased, this, [this] { OnHScroll(); });
  // Every change of the text, the program's own included.
  connect(edit, &QLineEdit::textChanged, this, [this] { OnChangeVolumePercent(); });
}

bool CVolumeDlg::OnInitDialog() {
  CSoundDlg::OnInitDialog();
  SetDlgItemText(0, res::LoadString(IDS_VOLUME_TITLE));

  AllocateWave(kSampleWaveBufferSize);

  auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  slider->setTickInterval(10);
  slider->setRange(0, 100);
  slider->setValue(volume() / kVolumePerPercent);
  SetDlgItemText(IDC_VOLUME_PERCENT, QString::number(volume() / kVolumePerPercent));
  return true;
}

void CVolumeDlg::OnCommand(int id) {
  if (id == IDC_PLAY_SAMPLE) {
    OnPlaySample();
    return;
  }
  CSoundDlg::OnCommand(id);
}

void CVolumeDlg::OnPlaySample() {
  if (!wave().IsAllocated()) return;
  // The slider, not the field, holds the level that is played.
  const auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  SetVolume(slider->sliderPosition() * kVolumePerPercent);
  platform::BeginWaitCursor();
  RenderVolumeSample(wave().bytes(), volume());
  player().Play(wave().bytes());
  platform::EndWaitCursor();
}

void CVolumeDlg::OnHScroll() {
  // During a movement the position is already the new one, the value not yet.
  const auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  SetVolume(slider->sliderPosition() * kVolumePerPercent);
  SetDlgItemText(IDC_VOLUME_PERCENT, QString::number(volume() / kVolumePerPercent));
}

void CVolumeDlg::OnChangeVolumePercent() {
  int percent = ReadLeadingInteger(GetDlgItemText(IDC_VOLUME_PERCENT).toStdString());
  if (percent >= 100) percent = 100;
  if (percent <= 0) percent = 0;
  SetVolume(percent * kVolumePerPercent);
  // The field keeps what was typed (150 stays 150); only the slider follows.
  auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  slider->setValue(volume() / kVolumePerPercent);
}

}  // namespace kelvora
