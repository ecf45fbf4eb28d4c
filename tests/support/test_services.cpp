#include "tests/support/test_services.h"

#include <QApplication>

namespace kelvora::testing {

void TestServices::Reset() {
  m_modalAnswers.clear();
  m_dialogs.clear();
  m_messages.clear();
  m_saveAnswers.clear();
  m_saveRequests.clear();
  m_opens.clear();
  m_opensFail = false;
}

void TestServices::PushModalAnswer(ModalAnswer answer) {
  m_modalAnswers.push_back(std::move(answer));
}

void TestServices::PushSaveFileAnswer(std::optional<QString> path) {
  m_saveAnswers.push_back(path ? (path->isNull() ? QString("") : *path) : QString());
}

void TestServices::RunModal(platform::TemplateDialog& dialog, bool focusFirstTabStop) {
  const bool shown = !dialog.isEnded();
  m_dialogs.push_back({dialog.dialogTemplate().id, dialog.windowTitle(), shown});
  ModalAnswer answer;
  if (!m_modalAnswers.empty()) {
    answer = std::move(m_modalAnswers.front());
    m_modalAnswers.pop_front();
  }
  if (!shown) return;

  // Tests type into the dialog at once, so it is active now.
  dialog.ShowActiveNow(focusFirstTabStop);
  const int answered = answer ? answer(dialog) : platform::kIdCancel;
  dialog.EndDialog(answered);  // no change if the answer ended it
}

int TestServices::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                             platform::MessageIcon icon) {
  m_messages.push_back({text, caption, icon, owner});
  return 1;
}

std::optional<QString> TestServices::GetSaveFileName(QWidget*,
                                                     const platform::SaveFileOptions& options) {
  m_saveRequests.push_back(options);
  if (m_saveAnswers.empty()) return std::nullopt;
  const QString answer = m_saveAnswers.front();
  m_saveAnswers.pop_front();
  if (answer.isNull()) return std::nullopt;
  return answer;
}

bool TestServices::OpenWithDefaultHandler(const QString& fileOrUrl) {
  m_opens.push_back({fileOrUrl, platform::UrlToOpen(fileOrUrl)});
  return !m_opensFail;
}

}  // namespace kelvora::testing
