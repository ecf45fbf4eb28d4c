#include "dialogs/results_dlg.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QWidget>
#include <fstream>
#include <functional>
#include <iterator>
#include <utility>

#include "platform/files/safe_file.h"
#include "platform/qt/services.h"
#include "res/resources.h"
#include "results/results_pictures.h"

namespace kelvora {
namespace {

using Painting = std::function<void(QPainter&, const QRectF&)>;

class Picture : public QWidget {
 public:
  Picture(QWidget* parent, Painting paint) : QWidget(parent), m_paint(std::move(paint)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_paint(painter, QRectF(rect()));
  }

 private:
  Painting m_paint;
};

// A picture in the place and size of the label that stands for it.
QWidget* PlacePicture(QWidget* label, Painting paint) {
  auto* picture = new Picture(label->parentWidget(), std::move(paint));
  picture->setGeometry(label->geometry());
  label->hide();
  return picture;
}

// The pictures' words, from the string table.
const results::PictureTexts& PictureTexts() {
  static const results::PictureTexts texts = {res::LoadString(IDS_PICTURE_STAIRCASE_TITLE),
                                              res::LoadString(IDS_PICTURE_SESSIONS_TITLE),
                                              res::LoadString(IDS_PICTURE_NO_CHECKS),
                                              res::LoadString(IDS_PICTURE_NO_SESSIONS),
                                              res::LoadString(IDS_PICTURE_HZ),
                                              res::LoadString(IDS_PICTURE_RECORD_LINE),
                                              res::LoadString(IDS_PICTURE_RIGHT),
                                              res::LoadString(IDS_PICTURE_WRONG),
                                              res::LoadString(IDS_PICTURE_CONFIRMING),
                                              res::LoadString(IDS_PICTURE_LEVEL_CONFIRMED),
                                              res::LoadString(IDS_PICTURE_LEVEL_FAILED),
                                              res::LoadString(IDS_PICTURE_BOTH_EARS),
                                              res::LoadString(IDS_PICTURE_LEFT_EAR),
                                              res::LoadString(IDS_PICTURE_RIGHT_EAR),
                                              res::LoadString(IDS_PICTURE_RECORD),
                                              res::LoadString(IDS_PICTURE_CONFIRMED)};
  return texts;
}

}  // namespace

CResultsDlg::CResultsDlg(const History& history, platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kResultsTemplate, services, parent), m_history(history) {}

bool CResultsDlg::OnInitDialog() {
  std::string readError;
  const std::vector<HistoryRecord> file = m_history.ReadAll(&readError);
  m_staircase = BuildStaircase(m_history.currentSession());
  m_sessions = BuildSessions(file, m_history.currentSession());

  m_staircasePicture =
      PlacePicture(GetDlgItem(IDC_RESULTS_STAIRCASE), [this](QPainter& p, const QRectF& area) {
        results::DrawStaircase(p, area, m_staircase, PictureTexts());
      });
  m_sessionsPicture =
      PlacePicture(GetDlgItem(IDC_RESULTS_SESSIONS), [this](QPainter& p, const QRectF& area) {
        results::DrawSessions(p, area, m_sessions, PictureTexts());
      });

  const QString path = QString::fromStdString(m_history.path());
  QString note;
  if (!m_history.error().empty()) {
    note = QStringLiteral("検査結果を記録ファイルに残せませんでした（%1）。\n%2")
               .arg(QString::fromStdString(m_history.error()), path);
  } else if (!readError.empty()) {
    note = QStringLiteral("記録ファイルを読めませんでした（%1）。\n%2")
               .arg(QString::fromStdString(readError), path);
  } else {
    note = QStringLiteral("記録ファイル: %1").arg(path);
  }
  SetDlgItemText(IDC_RESULTS_NOTE, note);
  return true;
}

void CResultsDlg::OnCommand(int id) {
  switch (id) {
    case IDC_RESULTS_SAVE_PNG:
      OnSavePicture();
      return;
    case IDC_RESULTS_SAVE_CSV:
      OnSaveCsv();
      return;
    default:
      TemplateDialog::OnCommand(id);
  }
}

QImage CResultsDlg::RenderPictures(qreal scale) const {
  const QSize top = m_staircasePicture->size();
  const QSize bottom = m_sessionsPicture->size();
  const QSize size(std::max(top.width(), bottom.width()), top.height() + bottom.height());
  QImage image(size * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  QPainter painter(&image);
  results::DrawStaircase(painter, QRectF(QPointF(0, 0), top), m_staircase, PictureTexts());
  results::DrawSessions(painter, QRectF(QPointF(0, top.height()), bottom), m_sessions,
                        PictureTexts());
  return image;
}

void CResultsDlg::OnSavePicture() {
  platform::SaveFileOptions options;
  options.defaultExtension = QStringLiteral("png");
  options.initialName = QStringLiteral("kelvora-results.png");
  options.filters = {{QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("*.png")}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  // At the screen's scale, so the picture is as sharp as the window.
  RenderPictures(devicePixelRatioF()).save(&buffer, "PNG");
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.constData());
  const platform::WriteResult written = platform::WriteFileSafely(
      QFile::encodeName(*path).toStdString(), {bytes, static_cast<std::size_t>(png.size())});
  if (!written.ok()) ReportWriteFailure(written.status == platform::WriteStatus::kCannotOpen);
}

void CResultsDlg::OnSaveCsv() {
  std::ifstream file(m_history.path(), std::ios::binary);
  if (!file) {
    services().MessageBox(this, "検査結果の記録ファイルがありません。",
                          res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
    return;
  }
  platform::SaveFileOptions options;
  options.defaultExtension = QStringLiteral("csv");
  options.initialName = QStringLiteral("kelvora-history.csv");
  options.filters = {{QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("*.csv")}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;
  // Read after the choice, so the copy holds every line written meanwhile.
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                        std::istreambuf_iterator<char>()};
  const platform::WriteResult written =
      platform::WriteFileSafely(QFile::encodeName(*path).toStdString(), bytes);
  if (!written.ok()) ReportWriteFailure(written.status == platform::WriteStatus::kCannotOpen);
}

void CResultsDlg::ReportWriteFailure(bool couldNotOpen) {
  services().MessageBox(this,
                        couldNotOpen ? "ファイルを書き込み用にオープン出来ません。"
                                     : "ファイルの書き込みに失敗しました。",
                        res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
}

}  // namespace kelvora
