#include "dialogs/wave_file_dlg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <cstdio>

#include "dialogs/number_text.h"
#include "platform/qt/services.h"
#include "res/resources.h"
#include "sound/player.h"
#include "sound/synthesis.h"

namespace kelvora {

namespace {

// The saved file is the rendered image, header and samples, nothing more.
constexpr std::size_t kExportFileSize = kWaveHeaderSize + kTwoSecondDataSize;  // 192044

enum class WriteResult { Written, CannotOpen, Failed };

// Writes the image to `path` ("wb"). If a write or the close fails, a regular
// file that this call created or truncated is removed again, so that no
// half-written WAVE file is left behind; a device such as /dev/full is never
// touched.
WriteResult WriteImageFile(const QString& path, const std::uint8_t* image) {
  const QByteArray name = QFile::encodeName(path);
  std::FILE* file = std::fopen(name.constData(), "wb");
  if (file == nullptr) return WriteResult::CannotOpen;

  struct stat opened {};
  const bool regular = fstat(fileno(file), &opened) == 0 && S_ISREG(opened.st_mode);
  bool ok = std::fwrite(image, 1, kExportFileSize, file) == kExportFileSize;
  ok = std::fclose(file) == 0 && ok;
  if (ok) return WriteResult::Written;

  // Only the very file written above, reached by this name (not through a link).
  struct stat atPath {};
  if (regular && lstat(name.constData(), &atPath) == 0 && atPath.st_dev == opened.st_dev &&
      atPath.st_ino == opened.st_ino) {
    unlink(name.constData());
  }
  return WriteResult::Failed;
}

}  // namespace

CWaveFileDlg::CWaveFileDlg(WavePlayer& player, platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kWaveFileTemplate, services, parent), m_player(player) {
  auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(IDC_EXPORT_FREQ));
  connect(edit, &QLineEdit::textChanged, this, [this] { OnChangeExportFrequency(); });
}

bool CWaveFileDlg::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  SetDlgItemText(IDC_EXPORT_FREQ, "440.0");
  m_exportFrequency = 440.0;

  m_failed = false;
  if (!m_exportWave.Allocate(kExportWaveBufferSize)) {
    m_failed = true;
    services().MessageBox(this, res::LoadString(IDS_NO_MEMORY), res::LoadString(IDS_APP_TITLE),
                          platform::MessageIcon::Stop);
    // Ends the dialog before any input; the caller then closes the application.
    PostClose();
  }

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
      TemplateDialog::OnCommand(id);
  }
}

void CWaveFileDlg::OnDestroy() {
  TemplateDialog::OnDestroy();
  m_exportWave.Release();
}

void CWaveFileDlg::OnChangeExportFrequency() {
  // Judged only when a button is pressed; nothing is shown while typing.
  m_exportFrequency = ReadLeadingDouble(GetDlgItemText(IDC_EXPORT_FREQ).toStdString());
}

bool CWaveFileDlg::CheckExportFrequency() {
  // Above 0.1 Hz, and no higher than half the sampling rate.
  if (m_exportFrequency > 0.1 && m_exportFrequency <= 24000.0) return true;
  services().MessageBox(this, "指定された周波数のWAVEファイルは作成出来ません。",
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
  return false;
}

void CWaveFileDlg::OnExportPreview() {
  if (!m_exportWave.IsAllocated() || !CheckExportFrequency()) return;
  platform::BeginWaitCursor();
  RenderExportTone(m_exportWave.bytes(), m_exportFrequency, m_volume, m_fade);
  m_player.Play(m_exportWave.bytes());
  platform::EndWaitCursor();
}

void CWaveFileDlg::OnExportSave() {
  if (!m_exportWave.IsAllocated() || !CheckExportFrequency()) return;
  RenderExportTone(m_exportWave.bytes(), m_exportFrequency, m_volume, m_fade);

  platform::SaveFileOptions options;
  options.defaultExtension = "wav";
  options.initialName = "*.wav";
  options.promptOverwrite = true;
  options.filters = {{"WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec) ", "*.wav"},
                     {"全てのファイル (*.*) ", "*.*"}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;

  switch (WriteImageFile(*path, m_exportWave.data())) {
    case WriteResult::Written:
      break;
    case WriteResult::CannotOpen:
      services().MessageBox(this, "ファイルを書き込み用にオープン出来ません。",
                            res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
      break;
    case WriteResult::Failed:
      services().MessageBox(this, "ファイルの書き込みに失敗しました。",
                            res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
      break;
  }
}

void CWaveFileDlg::OnExportFade() {
  m_fade = !m_fade;
  static_cast<QCheckBox*>(GetDlgItem(IDC_EXPORT_FADE))->setChecked(m_fade);
}

}  // namespace kelvora
