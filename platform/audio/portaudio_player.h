#pragma once

#include <cstdint>

#include "sound/player.h"

namespace kelvora {

// Plays WaveImages on the default output device, 48000 Hz mono 16-bit,
// through PortAudio's blocking API. Play returns once the last sample has
// been played; a sound that cannot be played is skipped without a word.
//
// The sound service is started once per process, on the first Initialize or
// Play, and closed when the process ends: starting it enumerates every device,
// which is too slow to repeat for each sound.
class PortAudioPlayer : public WavePlayer {
 public:
  // Starts the sound service now, so that the first sound does not wait for
  // the devices to be enumerated. Harmless when already started.
  void Initialize();

  void Play(std::span<const std::uint8_t> image) override;
};

}  // namespace kelvora
