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
    : TemplateDialog(res::kVolumeTemplate, services, parent), m_player(player) {
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
  TemplateDialog::OnInitDialog();
  SetDlgItemText(0, res::LoadString(IDS_VOLUME_TITLE));

  m_failed = false;
  if (!m_sampleWave.Allocate(kSampleWaveBufferSize)) {
    m_failed = true;
    services().MessageBox(this, res::LoadString(IDS_NO_MEMORY), res::LoadString(IDS_APP_TITLE),
                          platform::MessageIcon::Stop);
    // Ends the dialog before any input; the caller then closes the application.
    PostClose();
  }

  auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  slider->setTickInterval(10);
  slider->setRange(0, 100);
  slider->setValue(m_volume / kVolumePerPercent);
  SetDlgItemText(IDC_VOLUME_PERCENT, QString::number(m_volume / kVolumePerPercent));
  return true;
}

void CVolumeDlg::OnCommand(int id) {
  if (id == IDC_PLAY_SAMPLE) {
    OnPlaySample();
    return;
  }
  TemplateDialog::OnCommand(id);
}

void CVolumeDlg::OnDestroy() {
  TemplateDialog::OnDestroy();
  m_sampleWave.Release();
}

void CVolumeDlg::OnPlaySample() {
  if (!m_sampleWave.IsAllocated()) return;
  // The slider, not the field, holds the level that is played.
  const auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  m_volume = slider->sliderPosition() * kVolumePerPercent;
  platform::BeginWaitCursor();
  RenderVolumeSample(m_sampleWave.bytes(), m_volume);
  m_player.Play(m_sampleWave.bytes());
  platform::EndWaitCursor();
}

void CVolumeDlg::OnHScroll() {
  // During a movement the position is already the new one, the value not yet.
  const auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  m_volume = slider->sliderPosition() * kVolumePerPercent;
  SetDlgItemText(IDC_VOLUME_PERCENT, QString::number(m_volume / kVolumePerPercent));
}

void CVolumeDlg::OnChangeVolumePercent() {
  int percent = ReadLeadingInteger(GetDlgItemText(IDC_VOLUME_PERCENT).toStdString());
  if (percent >= 100) percent = 100;
  if (percent <= 0) percent = 0;
  m_volume = percent * kVolumePerPercent;
  // The field keeps what was typed (150 stays 150); only the slider follows.
  auto* slider = static_cast<QSlider*>(GetDlgItem(IDC_VOLUME_SLIDER));
  slider->setValue(m_volume / kVolumePerPercent);
}

}  // namespace kelvora
