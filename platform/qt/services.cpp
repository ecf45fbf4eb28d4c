#include "platform/qt/services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/template_dialog.h"

namespace kelvora::platform {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
  }
  return QMessageBox::Critical;
}

}  // namespace

void QtServices::RunModal(TemplateDialog& dialog, bool focusFirstTabStop) {
  if (dialog.isEnded()) return;
  dialog.setModal(true);
  dialog.show();
  if (focusFirstTabStop) dialog.FocusFirstTabStop();
  dialog.exec();
}

int QtServices::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                           MessageIcon icon) {
  QString shown = text;
  shown.replace("\r\n", "\n");
  QMessageBox box(BoxIcon(icon), caption, shown, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return 1;
}

std::optional<QString> QtServices::GetSaveFileName(QWidget* owner, const SaveFileOptions& options) {
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

QUrl UrlToOpen(const QString& fileOrUrl) {
  const QUrl asUrl(fileOrUrl, QUrl::StrictMode);
  if (asUrl.isValid() && asUrl.scheme().size() > 1) return asUrl;  // "C:" is no scheme
  const QString path = QDir::current().absoluteFilePath(
      QDir::fromNativeSeparators(QString(fileOrUrl).replace('\\', '/')));
  return QUrl::fromLocalFile(QDir::cleanPath(path));
}

void QtServices::OpenWithDefaultHandler(const QString& fileOrUrl) {
  const QUrl url = UrlToOpen(fileOrUrl);
  // The shell reports a missing file as a failure the callers ignore; asking
  // a desktop handler instead might show an error, so open nothing.
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return;
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
