#pragma once

// The small services of the platform that the dialogs call by what they do:
// message boxes, the save-file dialog, opening a file or address with the
// user's default handler, the wait cursor and icons. Each has a seam in
// testing.h so tests can answer or observe it.

#include <QIcon>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace kelvora::platform {

enum class MessageIcon { Stop };

// Modal message box with an OK button only; "\r\n" in `text` is a line break.
// Returns 1 (OK).
int MessageBox(QWidget* owner, const QString& text, const QString& caption,
               MessageIcon icon = MessageIcon::Stop);

struct FileFilter {
  QString displayName;  // shown as is, e.g. "全てのファイル (*.*) "
  QString patterns;     // ";"-separated, e.g. "*.wav"
};

struct SaveFileOptions {
  QString defaultExtension;  // appended when the user types no extension ("wav")
  QString initialName;       // initial file name field; a pattern like "*.wav" is not preselected
  bool promptOverwrite = true;  // ask before replacing an existing file
  std::vector<FileFilter> filters;
};

// Modal save-file dialog; the chosen path, or nothing if cancelled.
std::optional<QString> GetSaveFileName(QWidget* owner, const SaveFileOptions& options);

// Opens an address ("https://...") or a file with the user's default handler.
// A relative path is resolved against the current directory ("\" counts as
// "/"); a missing file opens nothing. The result is not reported, as on the
// original platform the callers never look at it.
void OpenWithDefaultHandler(const QString& fileOrUrl);

// Nested wait cursor for the whole application. Begin shows it at once, even
// if a blocking call follows before the event loop runs again.
void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();

// Icon by resource name ("appicon", "mainframe"): ":/icons/<name>-16.png" and
// "-32.png" from the resources of res/.
QIcon LoadIcon(const QString& name);

}  // namespace kelvora::platform
