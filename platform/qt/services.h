#pragma once

// What the dialogs ask of the desktop: running a dialog modally, message
// boxes, the save-file dialog and opening a file or address with the user's
// default handler. Every dialog is handed a Services object when it is built
// and asks it, never Qt directly, so that tests can hand in one that answers
// and records while running the same dialog code. QtServices is the real one.
// The wait cursor and icons involve no user decision and stay free functions.

#include <QIcon>
#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

class QWidget;

namespace kelvora::platform {

class TemplateDialog;

// Stop for failures; Exclamation for a warning the program carries on after.
enum class MessageIcon { Stop, Exclamation, Information };

struct FileFilter {
  QString displayName;  // shown as is, e.g. "全てのファイル (*.*) "
  QString patterns;     // ";"-separated, e.g. "*.wav"
};

struct SaveFileOptions {
  QString defaultExtension;     // appended when the user types no extension ("wav")
  QString initialName;          // initial text of the name field, a name or a pattern ("*.wav")
  QString initialFolder;        // the folder shown first; empty for the current one
  bool promptOverwrite = true;  // ask before replacing an existing file
  std::vector<FileFilter> filters;
};

class Services {
 public:
  virtual ~Services() = default;

  // Runs `dialog`, initialised but not yet shown, until it ends: shows it
  // modally, puts the focus on its first tab stop if `focusFirstTabStop`, and
  // returns once EndDialog was called. A dialog that ended during its
  // initialisation (PostClose) comes here too, already ended, and must not be
  // shown.
  virtual void RunModal(TemplateDialog& dialog, bool focusFirstTabStop) = 0;

  // Modal message box with an OK button only; "\r\n" in `text` is a line
  // break. Returns 1 (OK).
  virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                         MessageIcon icon) = 0;

  // Modal save-file dialog; the chosen path, or nothing if cancelled.
  virtual std::optional<QString> GetSaveFileName(QWidget* owner,
                                                 const SaveFileOptions& options) = 0;

  // Opens UrlToOpen(fileOrUrl) with the user's default handler; a missing
  // file opens nothing. Returns false when nothing was opened: the file is
  // missing, or the desktop has no handler to give it to (no browser, no
  // xdg-open). A handler that starts and then fails is not seen here.
  virtual bool OpenWithDefaultHandler(const QString& fileOrUrl) = 0;
};

// The desktop's own dialogs and handlers.
class QtServices : public Services {
 public:
  void RunModal(TemplateDialog& dialog, bool focusFirstTabStop) override;
  int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                 MessageIcon icon) override;
  std::optional<QString> GetSaveFileName(QWidget* owner, const SaveFileOptions& options) override;
  bool OpenWithDefaultHandler(const QString& fileOrUrl) override;
};

// An address ("https://...") as it is; anything else is a path, relative ones
// resolved against the current directory ("\" counts as "/").
QUrl UrlToOpen(const QString& fileOrUrl);

// Nested wait cursor for the whole application. Begin shows it at once, even
// if a blocking call follows before the event loop runs again.
void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();

// Icon by resource name ("appicon", "mainframe"): ":/icons/<name>-<size>.png"
// from the resources of res/, at each of 16, 32, 48 and 256 pixels that
// res/ holds (the taskbar of a scaled screen takes the larger ones).
QIcon LoadIcon(const QString& name);

}  // namespace kelvora::platform
