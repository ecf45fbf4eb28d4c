#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/output_path.h"

namespace kelvora {

// What is known of the output path: nothing when the system did not say.
using KnownPath = std::optional<platform::OutputPath>;

// From about which frequency a Bluetooth codec may keep too little of a tone
// to judge hearing by; help/limits.html shows the same table.
struct CodecLimit {
  std::string_view codec;  // as shown, in capitals
  std::uint32_t fromHz;
};
inline constexpr std::array<CodecLimit, 5> kCodecLimits = {{
    {"SBC", 14000},
    {"AAC", 17000},
    {"APTX", 18000},
    {"LDAC", 20000},
    {"unknown", 14000},
}};

// True when the output is known to have fewer than two channels: the
// server mixes our two down, and one ear cannot be checked on it.
bool OneChannelOutput(const KnownPath& path);

// The warning shown when one ear was chosen on such an output.
QString OneChannelWarning();

// The codec's row; codecs not in the table, or not named, are "unknown".
const CodecLimit& CodecLimitFor(std::string_view codec);

// The text of the warning about `path`, both parts in one; empty when the
// path is fine or not known.
QString SoundPathWarning(const KnownPath& path);

// The sample rate of the sink our sound plays into, asked without holding
// up the window. Tests hand the main dialog one that answers as told.
class SoundPathCheck {
 public:
  using Answer = std::function<void(KnownPath path)>;
  virtual ~SoundPathCheck() = default;
  // Asks once; `answer` runs later on the window's thread (or at once, from
  // within Start, when the answer is already known).
  virtual void Start(Answer answer) = 0;
  // The output that questions from now on are about (as ListOutputDevices
  // names it; "" for the default output).
  // NOLINTNEXTLINE(performance-unnecessary-value-param): a sink; the checks that ask keep it.
  virtual void SetOutput(std::string /*deviceId*/) {}
};

// Asks the sound server on a thread of its own, at most `bound` per question.
class ServerSoundPathCheck final : public SoundPathCheck {
 public:
  // A `held` check keeps its questions until Release(): the program's first
  // one waits for the first frame, so as not to compete with it.
  explicit ServerSoundPathCheck(bool held = false,
                                std::chrono::milliseconds bound = std::chrono::milliseconds(300));
  // Waits for questions still being asked, `bound` at most.
  ~ServerSoundPathCheck() override;
  void Start(Answer answer) override;
  void Release();
  void SetOutput(std::string deviceId) override { m_deviceId = std::move(deviceId); }

 private:
  struct Asking {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void Ask(Answer answer);

  bool m_held;
  std::vector<Answer> m_waiting;
  std::chrono::milliseconds m_bound;
  std::string m_deviceId;
  // Answers are posted to it, so they run on the window's thread.
  std::unique_ptr<QObject> m_receiver;
  std::vector<Asking> m_asking;
};

}  // namespace kelvora
