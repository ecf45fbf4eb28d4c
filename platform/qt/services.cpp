#include "platform/qt/services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/seams.h"

namespace kelvora::platform {

int MessageBox(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) {
  if (testing::IsActive()) {
    seams::RecordMessage(text, caption, icon);
    return 1;
  }
  QString shown = text;
  shown.replace("\r\n", "\n");
  QMessageBox box(QMessageBox::Critical, caption, shown, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return 1;
}

std::optional<QString> GetSaveFileName(QWidget* owner, const SaveFileOptions& options) {
  if (testing::IsActive()) return seams::TakeSaveFileAnswer(options);

  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(options.defaultExtension);
  if (!options.promptOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  QStringList filters;
  for (const FileFilter& filter : options.filters) {
    // Qt reads the patterns from the last parentheses, so the display name is kept whole.
    filters << filter.displayName + " (" + QString(filter.patterns).replace(';', ' ') + ")";
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  // A pattern as the initial name only selects the filter; there is no file to preselect.
  if (!options.initialName.isEmpty() && !options.initialName.contains('*')) {
    dialog.selectFile(options.initialName);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

void OpenWithDefaultHandler(const QString& fileOrUrl) {
  const QUrl asUrl(fileOrUrl, QUrl::StrictMode);
  const bool isAddress = asUrl.isValid() && asUrl.scheme().size() > 1;  // "C:" is no scheme
  QUrl url;
  QString localPath;
  if (isAddress) {
    url = asUrl;
  } else {
    localPath = QDir::current().absoluteFilePath(
        QDir::fromNativeSeparators(QString(fileOrUrl).replace('\\', '/')));
    url = QUrl::fromLocalFile(QDir::cleanPath(localPath));
  }
  if (testing::IsActive()) {
    seams::RecordOpen(fileOrUrl, url);
    return;
  }
  // The shell reports a missing file as a failure the callers ignore; asking
  // a desktop handler instead might show an error, so open nothing.
  if (!isAddress && !QFileInfo::exists(localPath)) return;
  QDesktopServices::openUrl(url);
}

namespace {
int g_waitDepth = 0;
}

void BeginWaitCursor() {
  if (g_waitDepth++ > 0) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The caller usually blocks next (a sound plays); push the cursor change out
  // now without handling any queued input.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::CursorChange);
  if (QWidget* window = QApplication::activeWindow()) window->repaint(0, 0, 1, 1);
}

void EndWaitCursor() {
  if (g_waitDepth == 0) return;
  if (--g_waitDepth > 0) return;
  QApplication::restoreOverrideCursor();
}

int WaitCursorDepth() { return g_waitDepth; }

QIcon LoadIcon(const QString& name) {
  QIcon icon;
  icon.addFile(":/icons/" + name + "-16.png", QSize(16, 16));
  icon.addFile(":/icons/" + name + "-32.png", QSize(32, 32));
  return icon;
}

}  // namespace kelvora::platform
