#include "platform/audio/portaudio_player.h"
#include "platform/audio/system_player.h"

namespace kelvora {

struct SystemPlayer::Device {
  PortAudioPlayer player;
};

SystemPlayer::SystemPlayer() : m_device(std::make_unique<Device>()) {}
SystemPlayer::~SystemPlayer() = default;
void SystemPlayer::StartInBackground() { m_device->player.StartInBackground(); }
PlayOutcome SystemPlayer::Play(std::span<const std::uint8_t> image) {
  return m_device->player.Play(image);
}
void SystemPlayer::SetEar(Ear ear) { m_device->player.SetEar(ear); }

}  // namespace kelvora
