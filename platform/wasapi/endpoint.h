#pragma once

// What the player, the mix-format question and the device list share of the
// Windows audio engine (WASAPI): COM on the calling thread, the endpoint a
// chosen id names, and a question asked within a bound.
#include <windows.h>
// The audio engine's interfaces.
#include <audioclient.h>
#include <mmdeviceapi.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/wasapi/mix_frames.h"

namespace kelvora::platform::wasapi {

// Holds a COM interface and releases it.
template <typename T>
struct Released {
  T* p = nullptr;
  Released() = default;
  Released(const Released&) = delete;
  Released& operator=(const Released&) = delete;
  ~Released() {
    if (p) p->Release();
  }
};

// COM for the calling thread, for as long as it lives. A thread that runs
// COM already (Qt's window thread, in a single-threaded apartment) keeps it
// as it is: the audio engine works in either apartment.
class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool ok() const { return m_ok; }

 private:
  bool m_ok = false;
  bool m_uninitialize = false;
};

std::wstring Utf16(const std::string& text);
std::string Utf8(const wchar_t* text);

// The active render endpoint `id` names (UTF-8), or the default output for an
// empty id or one that names no active endpoint; `missing` then says that the
// chosen one was absent. Null when there is no output at all.
struct Endpoint {
  Released<IMMDevice> device;
  bool missing = false;
};
bool OpenEndpoint(const std::string& id, Endpoint& endpoint);

// The endpoint's id (UTF-8); empty when it cannot be read.
std::string EndpointId(IMMDevice* device);

// The frame layout that a mix format describes; nothing for a kind this
// program does not write (such as 64-bit floats).
std::optional<FrameLayout> LayoutOf(const WAVEFORMATEX& format);

// Runs `ask` on a thread of its own and waits at most `bound` for its answer:
// a driver may hold the audio engine up, and the question then goes on
// alone and its answer is dropped. `ask` must own everything it uses.
template <typename Answer, typename Ask>
std::optional<Answer> AskWithin(std::chrono::milliseconds bound, Ask ask) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    std::optional<Answer> answer;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared, ask = std::move(ask)] {
    std::optional<Answer> answer = ask();
    const std::lock_guard lock(shared->mutex);
    shared->answer = std::move(answer);
    shared->done = true;
    shared->answered.notify_all();
  }).detach();
  std::unique_lock lock(shared->mutex);
  if (!shared->answered.wait_for(lock, bound, [&] { return shared->done; })) return std::nullopt;
  return std::move(shared->answer);
}

}  // namespace kelvora::platform::wasapi
