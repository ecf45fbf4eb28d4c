#include "dialogs/results_dlg.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>

#include "dialogs/error_text.h"
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

// The kinds of save, each with a folder of its own.
constexpr std::string_view kPictureSaves = "png";
constexpr std::string_view kCsvSaves = "csv";

// "kelvora-2026-12-09.png": saves of different days do not replace each other.
QString SaveName(QDate day, const QString& extension) {
  return QStringLiteral("kelvora-") + day.toString(Qt::ISODate) + QLatin1Char('.') + extension;
}

// A name as one line of a box or a title, whatever line breaks it holds.
QString OneLine(QString text) {
  return text.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
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
    choice->addItem(OneLine(text.isEmpty() ? empty : text), text);
    if (value == current) choice->setCurrentIndex(choice->count() - 1);
  }
  return choice;
}

QString Named(const std::string& value, int emptyText) {
  return value.empty() ? res::LoadString(emptyText) : OneLine(QString::fromStdString(value));
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

// The file's lines and then this run's that wait to be written: the window
// shows every check, in the file or not yet.
HistoryContents WithPending(HistoryContents file, const History& history) {
  file.records.insert(file.records.end(), history.pending().begin(), history.pending().end());
  return file;
}

}  // namespace

CResultsDlg::CResultsDlg(const History& history, platform::Services& services,
                         platform::RememberedSettings& settings, QDate today, QWidget* parent)
    : TemplateDialog(res::kResultsTemplate, services, parent),
      m_history(history),
      m_settings(settings),
      m_today(today) {}

bool CResultsDlg::OnInitDialog() {
  const HistoryContents file = WithPending(m_history.Read(), m_history);
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
  options.initialName = SaveName(m_today, QStringLiteral("png"));
  options.initialFolder = SaveFolder(kPictureSaves, QStandardPaths::PicturesLocation);
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
  if (!written.ok()) {
    ReportWriteFailure(services(), this, *path, written);
    return;
  }
  RememberSaveFolder(kPictureSaves, *path);
}

void CResultsDlg::OnSaveCsv() {
  const HistoryContents before = WithPending(m_history.Read(), m_history);
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
  options.initialName = SaveName(m_today, QStringLiteral("csv"));
  options.initialFolder = SaveFolder(kCsvSaves, QStandardPaths::DocumentsLocation);
  options.filters = {{res::LoadString(IDS_RESULTS_FILTER_CSV), QStringLiteral("*.csv")}};
  const std::optional<QString> path = services().GetSaveFileName(this, options);
  if (!path) return;
  // Read after the choice, so the copy holds every line written meanwhile;
  // in this version's columns, so that it reads back whole. The mark makes a
  // spreadsheet read the listener names and dates as UTF-8.
  const HistoryContents file = WithPending(m_history.Read(), m_history);
  std::string text = std::string(kUtf8ByteOrderMark) + std::string(kHistoryHeader) + "\r\n";
  for (const HistoryRecord& r : ShownRecords(file.records, m_history.currentSession())) {
    text += FormatHistoryLine(r);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const platform::WriteResult written =
      platform::WriteFileSafely(QFile::encodeName(*path).toStdString(), {bytes, text.size()});
  if (!written.ok()) {
    ReportWriteFailure(services(), this, *path, written);
    return;
  }
  RememberSaveFolder(kCsvSaves, *path);
}

// A remembered folder that is gone, or a standard one never made, gives way:
// the dialog would otherwise open in the program's working folder, which an
// installed program's user cannot write to.
QString CResultsDlg::SaveFolder(std::string_view kind,
                                QStandardPaths::StandardLocation standard) const {
  QString remembered = m_settings.Value(platform::LastFolderKey(kind).toStdString());
  if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
  QString folder = QStandardPaths::writableLocation(standard);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QDir::homePath();
}

// Only a folder that took the file: one that refused it would refuse again.
void CResultsDlg::RememberSaveFolder(std::string_view kind, const QString& path) {
  m_settings.SetValue(platform::LastFolderKey(kind).toStdString(), QFileInfo(path).absolutePath());
}

}  // namespace kelvora
