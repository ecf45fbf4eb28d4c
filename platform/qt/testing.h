#pragma once

// Seams for tests: answer the next modal dialog, message box or save-file
// dialog, and observe what was shown or opened. Call Reset() first (e.g. in
// SetUp): from then on nothing modal blocks and nothing is really opened.
//   - DoModal builds and initialises the dialog, records it, then calls the
//     next queued answer instead of running; the answer may click, type or
//     call EndDialog. Its return value is the result unless the dialog was
//     already ended. With no answer queued the dialog ends as Cancel (2).
//     A dialog closed during OnInitDialog (PostClose) consumes its answer
//     without calling it: the user never saw it.
//   - MessageBox records and returns 1.
//   - GetSaveFileName records and returns the next preset answer (default:
//     cancelled).
//   - OpenWithDefaultHandler records the request and opens nothing.

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "platform/qt/services.h"

namespace kelvora::platform {
class TemplateDialog;
}

namespace kelvora::platform::testing {

void Reset();
bool IsActive();

using ModalAnswer = std::function<int(TemplateDialog&)>;
void PushModalAnswer(ModalAnswer answer);
int PendingModalAnswers();

struct ShownDialog {
  int templateId;
  QString title;  // window title after OnInitDialog
  bool shown;     // false if it was closed during OnInitDialog
};
const std::vector<ShownDialog>& ShownDialogs();

struct ShownMessage {
  QString text;  // as passed, "\r\n" kept
  QString caption;
  MessageIcon icon;
};
const std::vector<ShownMessage>& ShownMessages();

void PushSaveFileAnswer(std::optional<QString> path);
const std::vector<SaveFileOptions>& SaveFileRequests();

struct OpenRequest {
  QString argument;  // as passed
  QUrl url;          // what would be opened
};
const std::vector<OpenRequest>& OpenRequests();

}  // namespace kelvora::platform::testing
