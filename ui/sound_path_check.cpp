#include "ui/sound_path_check.h"

#include <QMetaObject>
#include <QStringList>
#include <algorithm>

#include "platform/output_path.h"
#include "res/resource.h"
#include "res/resources.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {}  // namespace

bool OneChannelOutput(const KnownPath& path) {
  return path && path->channels > 0 && path->channels < 2;
}

QString OneChannelWarning() { return res::LoadString(IDS_SOUND_PATH_ONE_CHANNEL); }

const CodecLimit& CodecLimitFor(std::string_view codec) {
  // Servers say "aac", "aptx_hd", "ldac"...; the family decides.
  std::string upper;
  for (const char c : codec) {
    upper.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  for (const CodecLimit& limit : kCodecLimits) {
    if (!upper.empty() && upper.starts_with(limit.codec)) return limit;
  }
  return kCodecLimits.back();
}

QString SoundPathWarning(const KnownPath& known) {
  if (!known || known->rate == 0) return {};
  const platform::OutputPath& path = *known;
  QStringList parts;
  // Below our own rate the top of our sound is cut off.
  if (path.rate < kSampleRate) {
    // Where the rate is changed depends on the system that mixes our sound.
    const int text = path.rateSetting == platform::RateSetting::WindowsSoundPanel
                         ? IDS_SOUND_PATH_RATE_WINDOWS
                         : IDS_SOUND_PATH_RATE;
    parts << res::LoadString(text).arg(path.rate).arg(path.rate / 2);
  }
  if (path.bluetooth) {
    const CodecLimit& limit = CodecLimitFor(path.codec);
    parts << res::LoadString(IDS_SOUND_PATH_BLUETOOTH)
                 .arg(QString::fromUtf8(limit.codec.data(),
                                        static_cast<qsizetype>(limit.codec.size())))
                 .arg(limit.fromHz);
  }
  return parts.join(QStringLiteral("\r\n\r\n"));
}

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
  std::thread thread([bound = m_bound, deviceId = m_deviceId, receiver, done,
                      answer = std::move(answer)]() mutable {
    KnownPath path = platform::QueryOutputPath(bound, deviceId);
    QMetaObject::invokeMethod(
        receiver, [answer = std::move(answer), path = std::move(path)] { answer(path); },
        Qt::QueuedConnection);
    done->store(true);
  });
  m_asking.push_back({std::move(thread), std::move(done)});
}

}  // namespace kelvora
