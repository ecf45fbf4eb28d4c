// Plays WaveImages with the Windows multimedia library: PlaySoundA with the
// image in memory, no module and SND_MEMORY alone, which returns only once
// the sound has finished and never reads the image afterwards.
#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "platform/audio/system_player.h"
#include "sound/two_channel_image.h"

namespace kelvora {

struct SystemPlayer::Device {
  Ear ear = Ear::Both;
  // The two-channel image for one ear, kept between sounds so that playing
  // allocates nothing once the largest sound has been played.
  std::vector<std::uint8_t> twoChannels;
};

SystemPlayer::SystemPlayer() : m_device(std::make_unique<Device>()) {}
SystemPlayer::~SystemPlayer() = default;

// The multimedia library needs no start of its own.
void SystemPlayer::StartInBackground() {}

void SystemPlayer::SetEar(Ear ear) { m_device->ear = ear; }

PlayOutcome SystemPlayer::Play(std::span<const std::uint8_t> image) {
  std::span<const std::uint8_t> sound = WaveImageBytes(image);
  if (sound.size() < 44) return PlayOutcome::NotOpened;
  if (m_device->ear != Ear::Both) {
    m_device->twoChannels.resize(TwoChannelImageSize(sound));
    WriteTwoChannelImage(sound, m_device->ear, m_device->twoChannels);
    sound = m_device->twoChannels;
  }
  const BOOL played = PlaySoundA(reinterpret_cast<LPCSTR>(sound.data()), nullptr, SND_MEMORY);
  return played ? PlayOutcome::Played : PlayOutcome::NotOpened;
}

// Only the default output, until the player can be aimed at an endpoint.
void SystemPlayer::SetOutput(std::string) {}
std::optional<std::string> SystemPlayer::TakeMissingOutput() { return std::nullopt; }

}  // namespace kelvora
