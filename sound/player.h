#pragma once

#include <cstdint>

namespace kelvora {

// Plays a WaveImage synchronously: returns only after the last sample has
// been played, and never reads the image afterwards. A sound that cannot be
// played (no device, say) is skipped silently; nothing is reported.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  virtual void Play(const std::uint8_t* image) = 0;
};

// Data size announced by an image's header (bytes 40 to 43).
std::uint32_t WaveDataSize(const std::uint8_t* image);

}  // namespace kelvora
