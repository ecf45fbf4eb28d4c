#pragma once

// Services for tests: nothing modal blocks and nothing is really opened.
//   - RunModal records the dialog, shows it, makes it active, then calls the
//     next queued answer instead of running; the answer may click, type or
//     call EndDialog. Its return value is the result unless the dialog was
//     already ended. With no answer queued the dialog ends as Cancel (2).
//     A dialog closed during OnInitDialog (PostClose) consumes its answer
//     without calling it: the user never saw it.
//   - MessageBox records and returns 1.
//   - GetSaveFileName records and returns the next preset answer (default:
//     cancelled).
//   - OpenWithDefaultHandler records the request, opens nothing and reports
//     success unless told to fail (SetOpensFail).

#include <QString>
#include <QUrl>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/qt/services.h"
#include "platform/qt/template_dialog.h"

namespace kelvora::testing {

class TestServices final : public platform::Services {
 public:
  using ModalAnswer = std::function<int(platform::TemplateDialog&)>;

  struct ShownDialog {
    int templateId;
    QString title;  // window title after OnInitDialog
    bool shown;     // false if it was closed during OnInitDialog
  };

  struct ShownMessage {
    QString text;  // as passed, "\r\n" kept
    QString caption;
    platform::MessageIcon icon;
    QWidget* owner = nullptr;
  };

  struct OpenRequest {
    QString argument;  // as passed
    QUrl url;          // what the real services would open
  };

  // Forgets every queued answer and everything recorded.
  void Reset();

  void PushModalAnswer(ModalAnswer answer);
  int PendingModalAnswers() const { return static_cast<int>(m_modalAnswers.size()); }
  const std::vector<ShownDialog>& ShownDialogs() const { return m_dialogs; }
  const std::vector<ShownMessage>& ShownMessages() const { return m_messages; }
  void PushSaveFileAnswer(std::optional<QString> path);
  const std::vector<platform::SaveFileOptions>& SaveFileRequests() const { return m_saveRequests; }
  const std::vector<OpenRequest>& OpenRequests() const { return m_opens; }
  // From now on every open fails, as on a desktop without a browser.
  void SetOpensFail(bool fail) { m_opensFail = fail; }

  void RunModal(platform::TemplateDialog& dialog, bool focusFirstTabStop) override;
  int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                 platform::MessageIcon icon) override;
  std::optional<QString> GetSaveFileName(QWidget* owner,
                                         const platform::SaveFileOptions& options) override;
  bool OpenWithDefaultHandler(const QString& fileOrUrl) override;

 private:
  std::deque<ModalAnswer> m_modalAnswers;
  std::vector<ShownDialog> m_dialogs;
  std::vector<ShownMessage> m_messages;
  std::deque<QString> m_saveAnswers;  // a null string: cancelled
  std::vector<platform::SaveFileOptions> m_saveRequests;
  std::vector<OpenRequest> m_opens;
  bool m_opensFail = false;
};

}  // namespace kelvora::testing
