#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/audio/portaudio_player.h"
#include "platform/audio/system_player.h"
#include "platform/pulse/pulse_player.h"

namespace kelvora {
namespace {

// A server on the same machine answers within milliseconds; one that takes
// longer than this is not one to play through.
constexpr auto kServerBound = std::chrono::milliseconds(500);

}  // namespace

// Whether a sound server answers is found out at once, on a thread of its
// own; PortAudio, whose start scans every ALSA device, starts only where none
// does, and only once the first window is up.
struct SystemPlayer::Device {
  pulse::PulsePlayer server;
  PortAudioPlayer alsa;
  std::thread asking;

  std::mutex mutex;
  std::condition_variable decided;
  bool known = false;
  bool throughServer = false;
  bool startWanted = false;
  // On ALSA only the default output plays.
  std::string chosen;
  bool missingSaid = false;
  std::optional<std::string> missing;

  bool ThroughServer() {
    std::unique_lock lock(mutex);
    decided.wait(lock, [this] { return known; });
    return throughServer;
  }
};

SystemPlayer::SystemPlayer() : m_device(std::make_unique<Device>()) {
  pulse::ExpectProgramPlayer();
  Device* device = m_device.get();
  device->asking = std::thread([device] {
    const bool answers = device->server.Connect(kServerBound);
    pulse::SetProgramPlayer(answers ? &device->server : nullptr);
    std::lock_guard lock(device->mutex);
    device->known = true;
    device->throughServer = answers;
    if (!answers && device->startWanted) device->alsa.StartInBackground();
    device->decided.notify_all();
  });
}

SystemPlayer::~SystemPlayer() {
  m_device->asking.join();
  pulse::SetProgramPlayer(nullptr);
}

void SystemPlayer::StartInBackground() {
  std::lock_guard lock(m_device->mutex);
  m_device->startWanted = true;
  if (m_device->known && !m_device->throughServer) m_device->alsa.StartInBackground();
}

PlayOutcome SystemPlayer::Play(std::span<const std::uint8_t> image) {
  if (m_device->ThroughServer()) return m_device->server.Play(image);
  {
    std::lock_guard lock(m_device->mutex);
    if (!m_device->chosen.empty() && !m_device->missingSaid) {
      m_device->missing = m_device->chosen;
      m_device->missingSaid = true;
    }
  }
  return m_device->alsa.Play(image);
}

void SystemPlayer::SetEar(Ear ear) {
  m_device->server.SetEar(ear);
  m_device->alsa.SetEar(ear);
}

void SystemPlayer::SetOutput(std::string deviceId) {
  {
    std::lock_guard lock(m_device->mutex);
    if (deviceId != m_device->chosen) {
      m_device->missing.reset();
      m_device->missingSaid = false;
    }
    m_device->chosen = deviceId;
  }
  m_device->server.SetOutput(std::move(deviceId));
}

std::optional<std::string> SystemPlayer::TakeMissingOutput() {
  if (m_device->ThroughServer()) return m_device->server.TakeMissingOutput();
  std::lock_guard lock(m_device->mutex);
  return std::exchange(m_device->missing, std::nullopt);
}

}  // namespace kelvora
