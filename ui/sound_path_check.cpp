#include "ui/sound_path_check.h"

#include <QMetaObject>
#include <algorithm>

#include "platform/pulse/sink_rate.h"

namespace kelvora {

ServerSoundPathCheck::ServerSoundPathCheck(bool held, std::chrono::milliseconds bound)
    : m_held(held), m_bound(bound), m_receiver(std::make_unique<QObject>()) {}

ServerSoundPathCheck::~ServerSoundPathCheck() {
  // Joined before the receiver goes, so no thread posts to a dead object;
  // answers still queued die with it.
  for (Asking& asking : m_asking) asking.thread.join();
}

void ServerSoundPathCheck::Start(Answer answer) {
  if (m_held) {
    m_waiting.push_back(std::move(answer));
  } else {
    Ask(std::move(answer));
  }
}

void ServerSoundPathCheck::Release() {
  m_held = false;
  for (Answer& answer : m_waiting) Ask(std::move(answer));
  m_waiting.clear();
}

void ServerSoundPathCheck::Ask(Answer answer) {
  // Finished questions are collected here, never waited for.
  std::erase_if(m_asking, [](Asking& asking) {
    if (!asking.done->load()) return false;
    asking.thread.join();
    return true;
  });
  auto done = std::make_shared<std::atomic<bool>>(false);
  QObject* receiver = m_receiver.get();
  std::thread thread([bound = m_bound, receiver, done, answer = std::move(answer)]() mutable {
    const std::optional<std::uint32_t> rate = pulse::QueryStreamSinkRate(bound);
    QMetaObject::invokeMethod(
        receiver, [answer = std::move(answer), rate] { answer(rate); }, Qt::QueuedConnection);
    done->store(true);
  });
  m_asking.push_back({std::move(thread), std::move(done)});
}

}  // namespace kelvora
