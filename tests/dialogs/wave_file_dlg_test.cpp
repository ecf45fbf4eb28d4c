#include "dialogs/wave_file_dlg.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "dialog_fixture.h"
#include "res/resources.h"
#include "sound/synthesis.h"

namespace kelvora::testing {
namespace {

using platform::TemplateDialog;

const QString kRefused = "指定された周波数のWAVEファイルは作成出来ません。";
const QString kCannotOpen = "ファイルを書き込み用にオープン出来ません。";
const QString kWriteFailed = "ファイルの書き込みに失敗しました。";

// A write failure as both save dialogs word it: what failed, the file, why.
QString Failure(const QString& what, const QString& path, const QString& reason) {
  return what + "\r\n" + path + "\r\n（" + reason + "）";
}

Bytes ExportTone(double frequency, std::int32_t volume, bool fade) {
  Bytes image(kExportWaveBufferSize);
  RenderExportTone(image, frequency, volume, fade);
  image.resize(kWaveHeaderSize + kTwoSecondDataSize);
  return image;
}

Bytes ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return Bytes(bytes.begin(), bytes.end());
}

class WaveFileDlgTest : public DialogTest {
 protected:
  static void Click(TemplateDialog& d, int id) {
    qobject_cast<QAbstractButton*>(d.GetDlgItem(id))->click();
  }
  QStringList MessageTexts() const {
    QStringList texts;
    for (const auto& message : services.ShownMessages()) {
      EXPECT_EQ(message.caption, "Kelvora ver 1.000");
      EXPECT_EQ(message.icon, platform::MessageIcon::Stop);
      texts << message.text;
    }
    return texts;
  }

  // Types `frequency`, then saves to `path`; returns what the preview played
  // just before for the same settings.
  Bytes PreviewThenSave(const QString& frequency, std::int32_t volume, bool fade,
                        const QString& path) {
    CWaveFileDlg dlg(player, services);
    dlg.SetVolume(volume);
    services.PushSaveFileAnswer(path);
    RunModal(dlg, [&](TemplateDialog& d) {
      TypeInto(d.GetDlgItem(IDC_EXPORT_FREQ), frequency);
      if (fade) Click(d, IDC_EXPORT_FADE);
      Click(d, IDC_EXPORT_PREVIEW);
      Click(d, IDC_EXPORT_SAVE);
    });
    return player.played.empty() ? Bytes{} : player.played.back();
  }

  // Every case of kFrequencyCases, typed in turn into a fresh dialog.
  void ExpectFrequencyCases();

  RecordingPlayer player;
  QTemporaryDir dir;
};

TEST_F(WaveFileDlgTest, OpensAt440HzWithoutFades) {
  RecordingAllocator allocator;
  SetBufferAllocator(&allocator);
  CWaveFileDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    EXPECT_EQ(d.windowTitle(), "指定した周波数のWAVEファイルを作成する");
    EXPECT_EQ(d.GetDlgItemText(IDC_EXPORT_FREQ), "440.0");
    EXPECT_FALSE(qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_EXPORT_FADE))->isChecked());
    Click(d, IDC_EXPORT_PREVIEW);
  });
  ASSERT_EQ(player.played.size(), 1u);
  EXPECT_EQ(player.played[0], ExportTone(440.0, 9000, false));
  EXPECT_EQ(player.waitCursorDepths, std::vector<int>{1});
  EXPECT_EQ(platform::WaitCursorDepth(), 0);
  EXPECT_EQ(allocator.sizes, std::vector<std::size_t>{193024});
  EXPECT_EQ(allocator.releases, 1);
  EXPECT_FALSE(dlg.failed());
}

struct FrequencyCase {
  const char* typed;
  bool accepted;
  double frequency;  // rendered when accepted
};

const FrequencyCase kFrequencyCases[] = {
    {"0.1", false, 0},        {"0.1000001", true, 0.1000001},
    {"24000", true, 24000.0}, {"24000.001", false, 0},
    {"2.4e4", true, 24000.0}, {"0", false, 0},
    {"-440", false, 0},       {"", false, 0},
    {"Hz", false, 0},         {"inf", false, 0},
    {"nan", false, 0},        {"0x1p4", false, 0},
    {"1e999", false, 0},      {"1e3", true, 1000.0},
    {"440Hz", true, 440.0},   {" 440.5", true, 440.5},
    {"440,5", true, 440.0},   {"1e", true, 1.0},
    {".5", true, 0.5},        {"5.", true, 5.0},
};

void WaveFileDlgTest::ExpectFrequencyCases() {
  for (const FrequencyCase& c : kFrequencyCases) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + '"');
    services.Reset();
    player.played.clear();
    CWaveFileDlg dlg(player, services);
    dlg.SetVolume(30000);
    services.PushSaveFileAnswer(std::nullopt);
    bool open = false;
    RunModal(dlg, [&](TemplateDialog& d) {
      TypeInto(d.GetDlgItem(IDC_EXPORT_FREQ), c.typed);
      qobject_cast<QAbstractButton*>(d.GetDlgItem(IDC_EXPORT_PREVIEW))->click();
      qobject_cast<QAbstractButton*>(d.GetDlgItem(IDC_EXPORT_SAVE))->click();
      open = !d.isEnded();
    });
    EXPECT_TRUE(open);
    const auto& messages = services.ShownMessages();
    if (c.accepted) {
      EXPECT_TRUE(messages.empty());
      ASSERT_EQ(player.played.size(), 1u);
      EXPECT_EQ(player.played[0], ExportTone(c.frequency, 30000, false));
      EXPECT_EQ(services.SaveFileRequests().size(), 1u);
    } else {
      // Both buttons refuse; nothing is played and no file is asked for.
      ASSERT_EQ(messages.size(), 2u);
      EXPECT_EQ(messages[0].text, kRefused);
      EXPECT_EQ(messages[1].text, kRefused);
      EXPECT_EQ(messages[0].caption, "Kelvora ver 1.000");
      EXPECT_TRUE(player.played.empty());
      EXPECT_TRUE(services.SaveFileRequests().empty());
    }
  }
}

TEST_F(WaveFileDlgTest, FrequencyIsReadAndJudgedWhenAButtonIsPressed) { ExpectFrequencyCases(); }

TEST_F(WaveFileDlgTest, FrequencyReadsTheSameUnderADecimalCommaLocale) {
  DecimalCommaLocale locale;
  if (!locale.ok()) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  ExpectFrequencyCases();
}

TEST_F(WaveFileDlgTest, FadeBoxTogglesTheFadesAndItsMark) {
  CWaveFileDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    auto* box = qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_EXPORT_FADE));
    Click(d, IDC_EXPORT_FADE);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(dlg.fade());
    Click(d, IDC_EXPORT_PREVIEW);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(dlg.fade());
    Click(d, IDC_EXPORT_PREVIEW);
  });
  ASSERT_EQ(player.played.size(), 2u);
  EXPECT_EQ(player.played[0], ExportTone(440.0, 9000, true));
  EXPECT_EQ(player.played[1], ExportTone(440.0, 9000, false));
}

TEST_F(WaveFileDlgTest, SavedFileIsThePreviewedImageByteForByte) {
  const struct {
    const char* frequency;
    std::int32_t volume;
    bool fade;
  } cases[] = {
      {"440.0", 9000, false},
      {"1000.5", 30000, true},
      {"440.0", 0, true},
      {"24000", 30000, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.frequency) + (c.fade ? " with fades" : " without fades"));
    const QString path = dir.filePath(QString("tone%1.wav").arg(n++));
    const Bytes previewed = PreviewThenSave(c.frequency, c.volume, c.fade, path);
    const Bytes saved = ReadFile(path);
    EXPECT_EQ(saved.size(), 192044u);
    EXPECT_EQ(saved, previewed);
    EXPECT_EQ(saved, ExportTone(QString(c.frequency).toDouble(), c.volume, c.fade));
    if (c.volume == 0 || QString(c.frequency) == "24000") {
      EXPECT_EQ(std::count(saved.begin() + 44, saved.end(), 0), 192000);
    }
  }
  EXPECT_TRUE(services.ShownMessages().empty());
}

TEST_F(WaveFileDlgTest, SaveAsksForAWaveFileName) {
  PreviewThenSave("440", 9000, false, dir.filePath("a.wav"));
  ASSERT_EQ(services.SaveFileRequests().size(), 1u);
  const platform::SaveFileOptions& options = services.SaveFileRequests()[0];
  EXPECT_EQ(options.defaultExtension, "wav");
  EXPECT_EQ(options.initialName, "*.wav");
  EXPECT_TRUE(options.promptOverwrite);
  ASSERT_EQ(options.filters.size(), 2u);
  EXPECT_EQ(options.filters[0].displayName, "WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec) ");
  EXPECT_EQ(options.filters[0].patterns, "*.wav");
  EXPECT_EQ(options.filters[1].displayName, "全てのファイル (*.*) ");
  EXPECT_EQ(options.filters[1].patterns, "*.*");
}

TEST_F(WaveFileDlgTest, SavingOverAnExistingFileReplacesIt) {
  const QString path = dir.filePath("old.wav");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(300000, 'x'));
  }
  const Bytes previewed = PreviewThenSave("440", 9000, false, path);
  EXPECT_EQ(ReadFile(path), previewed);
}

TEST_F(WaveFileDlgTest, CancellingTheFileDialogWritesNothing) {
  CWaveFileDlg dlg(player, services);
  services.PushSaveFileAnswer(std::nullopt);
  RunModal(dlg, [&](TemplateDialog& d) { Click(d, IDC_EXPORT_SAVE); });
  EXPECT_EQ(services.SaveFileRequests().size(), 1u);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(services.ShownMessages().empty());
  EXPECT_TRUE(player.played.empty());
}

TEST_F(WaveFileDlgTest, AFileThatCannotBeOpenedIsReported) {
  PreviewThenSave("440", 9000, false, dir.filePath("missing/tone.wav"));
  EXPECT_EQ(MessageTexts(), QStringList{Failure(kCannotOpen, dir.filePath("missing/tone.wav"),
                                                "ファイルまたはフォルダがありません")});
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(WaveFileDlgTest, AFullDeviceIsReportedAndLeftAlone) {
  struct stat before {};
  if (stat("/dev/full", &before) != 0) GTEST_SKIP() << "no /dev/full";
  PreviewThenSave("440", 9000, false, "/dev/full");
  EXPECT_EQ(MessageTexts(),
            QStringList{Failure(kWriteFailed, "/dev/full", "ディスクの空き容量がありません")});
  struct stat after {};
  ASSERT_EQ(stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, before.st_rdev);
}

// Lets regular files grow to `bytes` at most while it lives; a write beyond
// fails with EFBIG instead of killing the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_savedHandler);
  }
  bool ok() const { return m_ok; }

 private:
  rlimit m_saved{};
  void (*m_savedHandler)(int) = nullptr;
  bool m_ok = false;
};

TEST_F(WaveFileDlgTest, AFailedWriteIsReportedAndLeavesNoPartFile) {
  const QString fresh = dir.filePath("fresh.wav");
  const QString existing = dir.filePath("existing.wav");
  {
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("RIFF");
  }
  {
    FileSizeLimit limit(4096);
    if (!limit.ok()) GTEST_SKIP() << "cannot limit the file size";
    PreviewThenSave("440", 9000, false, fresh);
    PreviewThenSave("440", 9000, false, existing);
  }
  const QString tooLarge = QString::fromStdString(std::strerror(EFBIG));
  EXPECT_EQ(MessageTexts(), (QStringList{Failure(kWriteFailed, fresh, tooLarge),
                                         Failure(kWriteFailed, existing, tooLarge)}));
  EXPECT_FALSE(QFile::exists(fresh));
  // The old file is kept whole, and nothing else is left beside it.
  EXPECT_EQ(ReadFile(existing), (Bytes{'R', 'I', 'F', 'F'}));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"existing.wav"});
}

TEST_F(WaveFileDlgTest, WithoutItsBufferItSaysSoAndEndsBeforeAnyInput) {
  RecordingAllocator failing(/*fail=*/true);
  SetBufferAllocator(&failing);
  CWaveFileDlg dlg(player, services);
  bool userActed = false;
  RunModal(dlg, [&](TemplateDialog&) { userActed = true; });
  EXPECT_FALSE(userActed);
  EXPECT_TRUE(dlg.failed());
  EXPECT_EQ(services.ShownDialogs().at(0).shown, false);
  EXPECT_EQ(MessageTexts(), QStringList{"動作に必要なメモリが確保出来ませんでした。\r\n"
                                        "アプリケーションを強制終了します。"});
  EXPECT_TRUE(player.played.empty());
}

}  // namespace
}  // namespace kelvora::testing
