#include "dialogs/results_dlg.h"

#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <utility>

#include "platform/files/native_file.h"
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

// A choice of one column's values in the place of the label that stands for
// it: "all" first (no data), then every value there is, `current` chosen.
QComboBox* PlaceChoice(QWidget* label, std::vector<std::string> values, const std::string& current,
                       const QString& empty) {
  auto* choice = new QComboBox(label->parentWidget());
  choice->setGeometry(label->geometry());
  label->hide();
  // In the tab order where the label stood.
  QWidget::setTabOrder(label, choice);
  choice->addItem(res::LoadString(IDS_RESULTS_ALL));
  values.push_back(current);
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  for (const std::string& value : values) {
    const QString text = QString::fromStdString(value);
    // One line in the box, whatever the name holds.
    QString shown = text.isEmpty() ? empty : text;
    shown.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
    choice->addItem(shown, text);
    if (value == current) choice->setCurrentIndex(choice->count() - 1);
  }
  return choice;
}

QString Named(const std::string& value, int emptyText) {
  return value.empty() ? res::LoadString(emptyText) : QString::fromStdString(value);
}

// Keeps the records of one listener and output; no value keeps all.
std::vector<HistoryRecord> Of(const std::vector<HistoryRecord>& records, const QVariant& listener,
                              const QVariant& output) {
  std::vector<HistoryRecord> kept;
  for (const HistoryRecord& r : records) {
    if (listener.isValid() && QString::fromStdString(r.listener) != listener.toString()) continue;
    if (output.isValid() && QString::fromStdString(r.output) != output.toString()) continue;
    kept.push_back(r);
  }
  return kept;
}

// What the window shows: the file's lines of other sessions, then this
// session's, which the file may lack when a line could not be written.
std::vector<HistoryRecord> ShownRecords(const std::vector<HistoryRecord>& file,
                                        const std::vector<HistoryRecord>& current) {
  const std::int64_t currentSession = current.empty() ? -1 : current.front().session;
  std::vector<HistoryRecord> shown;
  shown.reserve(file.size() + current.size());
  for (const HistoryRecord& r : file) {
    if (r.session != currentSession) shown.push_back(r);
  }
  shown.insert(shown.end(), current.begin(), current.end());
  return shown;
}

}  // namespace

QString SystemErrorText(int error, const std::string& systemText) {
  if (platform::IsNoSpaceError(error)) return res::LoadString(IDS_ERROR_NO_SPACE);
  switch (error) {
    case EACCES:
    case EPERM:
      return res::LoadString(IDS_ERROR_PERMISSION);
    case EROFS:
      return res::LoadString(IDS_ERROR_READ_ONLY);
    case EISDIR:
      return res::LoadString(IDS_ERROR_NOT_REGULAR);
    case ENOENT:
      return res::LoadString(IDS_ERROR_NOT_FOUND);
    default:
      return QString::fromStdString(systemText.empty() ? std::strerror(error) : systemText);
  }
}

QString HistoryErrorText(const HistoryError& error) {
  switch (error.fault) {
    case HistoryFault::kNone:
      return {};
    case HistoryFault::kNoLocation:
      return res::LoadString(IDS_HISTORY_NO_LOCATION);
    case HistoryFault::kNotRegularFile:
      return res::LoadString(IDS_ERROR_NOT_REGULAR);
    case HistoryFault::kSystem:
      break;
  }
  return SystemErrorText(error.code);
}

const results::PictureTexts& ResultsPictureTexts() {
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

CResultsDlg::CResultsDlg(const History& history, platform::Services& services, QWidget* parent)
    : TemplateDialog(res::kResultsTemplate, services, parent), m_history(history) {}

bool CResultsDlg::OnInitDialog() {
  const HistoryContents file = m_history.Read();
  m_fileRecords = file.records;
  m_staircase = BuildStaircase(m_history.currentSession());
  const std::vector<HistoryRecord>& current = m_history.currentSession();
  const std::string& listener = current.empty() ? m_history.listener() : current.back().listener;
  const std::string& output = current.empty() ? m_history.output() : current.back().output;
  m_staircaseTexts = ResultsPictureTexts();
  m_staircaseTexts.staircaseTitle =
      res::LoadString(IDS_PICTURE_STAIRCASE_OF)
          .arg(m_staircaseTexts.staircaseTitle, Named(listener, IDS_RESULTS_UNNAMED),
               Named(output, IDS_RESULTS_UNKNOWN_OUTPUT));
  std::vector<std::string> listeners, outputs;
  for (const HistoryRecord& r : ShownRecords(m_fileRecords, current)) {
    listeners.push_back(r.listener);
    outputs.push_back(r.output);
  }
  m_listenerChoice = PlaceChoice(GetDlgItem(IDC_RESULTS_LISTENER), listeners, m_history.listener(),
                                 res::LoadString(IDS_RESULTS_UNNAMED));
  m_outputChoice = PlaceChoice(GetDlgItem(IDC_RESULTS_OUTPUT), outputs, m_history.output(),
                               res::LoadString(IDS_RESULTS_UNKNOWN_OUTPUT));
  for (QComboBox* choice : {m_listenerChoice, m_outputChoice}) {
    connect(choice, &QComboBox::currentIndexChanged, this, [this] { ShowSessions(); });
  }
  ShowSessions();

  m_staircasePicture =
      PlacePicture(GetDlgItem(IDC_RESULTS_STAIRCASE), [this](QPainter& p, const QRectF& area) {
        results::DrawStaircase(p, area, m_staircase, m_staircaseTexts);
      });
  m_sessionsPicture =
      PlacePicture(GetDlgItem(IDC_RESULTS_SESSIONS), [this](QPainter& p, const QRectF& area) {
        results::DrawSessions(p, area, m_sessions, ResultsPictureTexts());
      });

  const QString path = QString::fromStdString(m_history.path());
  QStringList lines;
  if (m_history.writeError().failed()) {
    lines << res::LoadString(IDS_HISTORY_NOT_KEPT).arg(HistoryErrorText(m_history.writeError()))
          << path;
  } else if (file.error.failed()) {
    lines << res::LoadString(IDS_HISTORY_NOT_READ).arg(HistoryErrorText(file.error)) << path;
  } else {
    lines << res::LoadString(IDS_HISTORY_FILE).arg(path) << QString();
  }
  // A damaged or cut file is noticed, on the line below the file's name.
  QStringList details;
  if (file.unreadableLines > 0) {
    details << res::LoadString(IDS_HISTORY_UNREADABLE_LINES).arg(file.unreadableLines);
  }
  if (file.olderLinesLeftOut) {
    details << res::LoadString(IDS_HISTORY_OLDER_LEFT_OUT)
                   .arg(static_cast<qulonglong>(kHistoryReadLines))
                   .arg(static_cast<qulonglong>(kHistoryReadBytes >> 20));
  }
  QString& below = lines.back();
  if (!details.isEmpty()) {
    if (!below.isEmpty()) below += QStringLiteral("\u3000");
    below += details.join(QStringLiteral("\u3000"));
  }
  if (below.isEmpty()) lines.removeLast();
  SetDlgItemText(IDC_RESULTS_NOTE, lines.join(QLatin1Char('\n')));
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
  results::DrawStaircase(painter, QRectF(QPointF(0, 0), top), m_staircase, m_staircaseTexts);
  results::DrawSessions(painter, QRectF(QPointF(0, top.height()), bottom), m_sessions,
                        ResultsPictureTexts());
  return image;
}

void CResultsDlg::ShowSessions() {
  const QVariant listener = m_listenerChoice->currentData();
  const QVariant output = m_outputChoice->currentData();
  m_sessions = BuildSessions(Of(m_fileRecords, listener, output),
                             Of(m_history.currentSession(), listener, output));
  if (m_sessionsPicture) m_sessionsPicture->update();
}

void CResultsDlg::OnSavePicture() {
  platform::SaveFileOptions options;
  options.defaultExtension = QStringLiteral("png");
  options.initialName = QStringLiteral("kelvora-results.png");
  options.filters = {{res::LoadString(IDS_RESULTS_FILTER_PNG), QStringLiteral("*.png")}};
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
  if (!written.ok()) ReportWriteFailure(*path, written);
}

void CResultsDlg::OnSaveCsv() {
  const HistoryContents before = m_history.Read();
  if (ShownRecords(before.records, m_history.currentSession()).empty()) {
    const QString why =
        before.error.failed()
            ? res::LoadString(IDS_HISTORY_NOT_READ).arg(HistoryErrorText(before.error)) +
                  QStringLiteral("\r\n") + QString::fromStdString(m_history.path())
            : res::LoadString(IDS_HISTORY_NOTHING_TO_SAVE);
    services().MessageBox(this, why, res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
    return;
  }
  platform::SaveFileOptions options;
  options.defaultExtension = QStringLiteral("csv");
  options.initialName = QStringLiteral("kelvora-history.csv");
  options.filters = {{res::LoadString(IDS_RESULTS_FILTER_CSV), QStringLiteral("*.csv")}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;
  // Read after the choice, so the copy holds every line written meanwhile;
  // in this version's columns, so that it reads back whole.
  const HistoryContents file = m_history.Read();
  std::string text = std::string(kHistoryHeader) + "\r\n";
  for (const HistoryRecord& r : ShownRecords(file.records, m_history.currentSession())) {
    text += FormatHistoryLine(r);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const platform::WriteResult written =
      platform::WriteFileSafely(QFile::encodeName(*path).toStdString(), {bytes, text.size()});
  if (!written.ok()) ReportWriteFailure(*path, written);
}

void CResultsDlg::ReportWriteFailure(const QString& path, const platform::WriteResult& result) {
  const int text = result.status == platform::WriteStatus::kCannotOpen ? IDS_WRITE_CANNOT_OPEN
                                                                       : IDS_WRITE_FAILED;
  const QString reason =
      res::LoadString(IDS_WRITE_REASON).arg(SystemErrorText(result.error, result.message));
  services().MessageBox(
      this, res::LoadString(text) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + reason,
      res::LoadString(IDS_APP_TITLE), platform::MessageIcon::Stop);
}

}  // namespace kelvora
