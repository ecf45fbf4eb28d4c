#include "platform/qt/testing.h"

#include <deque>

#include "platform/qt/seams.h"

namespace kelvora::platform {
namespace {

struct SeamState {
  bool active = false;
  std::deque<testing::ModalAnswer> modalAnswers;
  std::vector<testing::ShownDialog> dialogs;
  std::vector<testing::ShownMessage> messages;
  // A null QString stands for a cancelled dialog.
  std::deque<QString> saveAnswers;
  std::vector<SaveFileOptions> saveRequests;
  std::vector<testing::OpenRequest> opens;
};

SeamState& State() {
  static SeamState state;
  return state;
}

}  // namespace

namespace testing {

void Reset() {
  State() = SeamState{};
  State().active = true;
}

bool IsActive() { return State().active; }

void PushModalAnswer(ModalAnswer answer) { State().modalAnswers.push_back(std::move(answer)); }

int PendingModalAnswers() { return static_cast<int>(State().modalAnswers.size()); }

const std::vector<ShownDialog>& ShownDialogs() { return State().dialogs; }

const std::vector<ShownMessage>& ShownMessages() { return State().messages; }

void PushSaveFileAnswer(std::optional<QString> path) {
  State().saveAnswers.push_back(path ? (path->isNull() ? QString("") : *path) : QString());
}

const std::vector<SaveFileOptions>& SaveFileRequests() { return State().saveRequests; }

const std::vector<OpenRequest>& OpenRequests() { return State().opens; }

}  // namespace testing

namespace seams {

testing::ModalAnswer TakeModalAnswer() {
  auto& queue = State().modalAnswers;
  if (queue.empty()) return {};
  testing::ModalAnswer answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

void RecordDialog(int templateId, const QString& title, bool shown) {
  State().dialogs.push_back({templateId, title, shown});
}

void RecordMessage(const QString& text, const QString& caption, MessageIcon icon) {
  State().messages.push_back({text, caption, icon});
}

std::optional<QString> TakeSaveFileAnswer(const SaveFileOptions& options) {
  State().saveRequests.push_back(options);
  auto& queue = State().saveAnswers;
  if (queue.empty()) return std::nullopt;
  const QString answer = queue.front();
  queue.pop_front();
  if (answer.isNull()) return std::nullopt;
  return answer;
}

void RecordOpen(const QString& argument, const QUrl& url) {
  State().opens.push_back({argument, url});
}

}  // namespace seams
}  // namespace kelvora::platform
