#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace kelvora {

// The sample rate of the sink our sound plays into, asked without holding
// up the window. Tests hand the main dialog one that answers as told.
class SoundPathCheck {
 public:
  // The rate, or nothing when it is not known.
  using Answer = std::function<void(std::optional<std::uint32_t> rate)>;
  virtual ~SoundPathCheck() = default;
  // Asks once; `answer` runs later on the window's thread (or at once, from
  // within Start, when the answer is already known).
  virtual void Start(Answer answer) = 0;
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

 private:
  struct Asking {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void Ask(Answer answer);

  bool m_held;
  std::vector<Answer> m_waiting;
  std::chrono::milliseconds m_bound;
  // Answers are posted to it, so they run on the window's thread.
  std::unique_ptr<QObject> m_receiver;
  std::vector<Asking> m_asking;
};

}  // namespace kelvora
