#include "platform/qt/services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/template_dialog.h"

namespace kelvora::platform {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::Critical;
}

bool IsPattern(const QString& name) { return name.contains('*') || name.contains('?'); }

// Qt's own file dialog whatever the desktop offers: a desktop's dialog shows
// the patterns after each filter's name and would save "*.wav" as a file.
class SaveFileDialog final : public QFileDialog {
 public:
  explicit SaveFileDialog(QWidget* owner) : QFileDialog(owner) {
    setOption(QFileDialog::DontUseNativeDialog);
  }

 protected:
  // A pattern in the name field, as the dialog opens with, names no file:
  // the list shows what matches it and the dialog stays open.
  void accept() override {
    const QStringList files = selectedFiles();
    const QString name = files.isEmpty() ? QString() : QFileInfo(files.first()).fileName();
    if (IsPattern(name)) {
      if (auto* model = findChild<QFileSystemModel*>()) model->setNameFilters({name});
      return;
    }
    QFileDialog::accept();
  }
};

// Without a window manager nobody hands the keyboard back to the owner of a
// modal window that has closed, and its menu and button mnemonics stay dead
// until it is clicked.
void GiveKeyboardBack(QWidget* owner) {
  if (owner != nullptr && owner->isVisible()) owner->window()->activateWindow();
}

}  // namespace

void QtServices::RunModal(TemplateDialog& dialog, bool focusFirstTabStop) {
  if (dialog.isEnded()) return;
  dialog.setModal(true);
  dialog.show();
  if (focusFirstTabStop) dialog.FocusFirstTabStop();
  dialog.exec();
  GiveKeyboardBack(dialog.parentWidget());
}

int QtServices::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                           MessageIcon icon) {
  QString shown = text;
  shown.replace("\r\n", "\n");
  QMessageBox box(BoxIcon(icon), caption, shown, QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  GiveKeyboardBack(owner);
  return 1;
}

std::optional<QString> QtServices::GetSaveFileName(QWidget* owner, const SaveFileOptions& options) {
  SaveFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(options.defaultExtension);
  if (!options.promptOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  // Qt reads a filter's patterns from its last parentheses; with the details
  // hidden it shows what comes before them, so each display name appears
  // once, as given, even one that ends with its own pattern.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList filters;
  for (const FileFilter& filter : options.filters) {
    filters << filter.displayName + " (" + QString(filter.patterns).replace(';', ' ') + ")";
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!options.initialFolder.isEmpty()) dialog.setDirectory(options.initialFolder);
  if (!options.initialName.isEmpty()) dialog.selectFile(options.initialName);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  GiveKeyboardBack(owner);
  if (!accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

QUrl UrlToOpen(const QString& fileOrUrl) {
  QUrl asUrl(fileOrUrl, QUrl::StrictMode);
  if (asUrl.isValid() && asUrl.scheme().size() > 1) return asUrl;  // "C:" is no scheme
  const QString path = QDir::current().absoluteFilePath(
      QDir::fromNativeSeparators(QString(fileOrUrl).replace('\\', '/')));
  return QUrl::fromLocalFile(QDir::cleanPath(path));
}

bool QtServices::OpenWithDefaultHandler(const QString& fileOrUrl) {
  const QUrl url = UrlToOpen(fileOrUrl);
  // A desktop handler given a missing file might show an error of its own;
  // the caller says what is missing instead.
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
  return QDesktopServices::openUrl(url);
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
  for (int size : {16, 32, 48, 256}) {
    const QString file = QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size);
    if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
  }
  return icon;
}

}  // namespace kelvora::platform
