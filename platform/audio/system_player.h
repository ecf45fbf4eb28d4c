#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "sound/player.h"

namespace kelvora {

// The sound player of the system the program runs on: PortAudio on Linux
// (portaudio_player.h), the multimedia library's PlaySoundA on Windows.
// Play returns once the sound has been played; a sound that cannot be played
// is skipped without a word.
class SystemPlayer final : public WavePlayer {
 public:
  SystemPlayer();
  ~SystemPlayer() override;

  // Starts the sound service where starting it takes a while, and returns at
  // once; called once the first window has been painted.
  void StartInBackground();

  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  void SetEar(Ear ear) override;

 private:
  struct Device;
  std::unique_ptr<Device> m_device;
};

}  // namespace kelvora
