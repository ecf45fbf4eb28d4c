#include "dialogs/wave_file_dlg.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

#include "dialogs/error_text.h"
#include "dialogs/number_text.h"
#include "platform/files/safe_file.h"
#include "platform/qt/services.h"
#include "res/resources.h"
#include "sound/player.h"
#include "sound/synthesis.h"

namespace kelvora {

namespace {

// The saved file is the rendered image, header and samples, nothing more.
constexpr std::size_t kExportFileSize = kWaveHeaderSize + kTwoSecondDataSize;  // 192044

}  // namespace

CWaveFileDlg::CWaveFileDlg(WavePlayer& player, platform::Services& services, QWidget* parent)
    : CSoundDlg(res::kWaveFileTemplate, player, services, parent) {
  auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_EXPORT_FREQ));
  connect(edit, &QLineEdit::textChanged, this, [this] { OnChangeExportFrequency(); });
}

bool CWaveFileDlg::OnInitDialog() {
  CSoundDlg::OnInitDialog();
  SetDlgItemText(IDC_EXPORT_FREQ, "440.0");
  m_exportFrequency = 440.0;

  AllocateWave(kExportWaveBufferSize);

  m_fade = false;
  static_cast<QCheckBox*>(GetDlgItem(IDC_EXPORT_FADE))->setChecked(false);
  return true;
}

void CWaveFileDlg::OnCommand(int id) {
  switch (id) {
    case IDC_EXPORT_PREVIEW:
      OnExportPreview();
      return;
    case IDC_EXPORT_SAVE:
      OnExportSave();
      return;
    case IDC_EXPORT_FADE:
      OnExportFade();
      return;
    default:
      CSoundDlg::OnCommand(id);
  }
}

void CWaveFileDlg::OnChangeExportFrequency() {
  // Judged only when a button is pressed; nothing is shown while typing.
  m_exportFrequency = ReadLeadingDouble(GetDlgItemText(IDC_EXPORT_FREQ).toStdString());
}

bool CWaveFileDlg::CheckExportFrequency() {
  // Above 0.1 Hz, and no higher than half the sampling rate.
  if (m_exportFrequency > 0.1 && m_exportFrequency <= 24000.0) return true;
  services().MessageBox(this, res::LoadString(IDS_EXPORT_BAD_FREQUENCY),
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
  return false;
}

void CWaveFileDlg::OnExportPreview() {
  if (!wave().IsAllocated() || !CheckExportFrequency()) return;
  platform::BeginWaitCursor();
  RenderExportTone(wave().bytes(), m_exportFrequency, volume(), m_fade);
  player().Play(wave().bytes());
  platform::EndWaitCursor();
}

void CWaveFileDlg::OnExportSave() {
  if (!wave().IsAllocated() || !CheckExportFrequency()) return;
  RenderExportTone(wave().bytes(), m_exportFrequency, volume(), m_fade);

  platform::SaveFileOptions options;
  options.defaultExtension = "wav";
  options.initialName = "*.wav";
  options.promptOverwrite = true;
  options.filters = {{res::LoadString(IDS_EXPORT_FILTER_WAVE), "*.wav"},
                     {res::LoadString(IDS_EXPORT_FILTER_ALL), "*.*"}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;

  // An old file stays whole unless the new one is; a FIFO nobody reads is
  // one that cannot be opened.
  const platform::WriteResult written = platform::WriteFileSafely(
      QFile::encodeName(*path).toStdString(), wave().bytes().first(kExportFileSize));
  if (!written.ok()) ReportWriteFailure(services(), this, *path, written);
}

void CWaveFileDlg::OnExportFade() {
  m_fade = !m_fade;
  static_cast<QCheckBox*>(GetDlgItem(IDC_EXPORT_FADE))->setChecked(m_fade);
}

}  // namespace kelvora
