#pragma once

#include <cstdint>
#include <span>

#include "sound/ear.h"

namespace kelvora {

// What became of a sound: played to its end, given up part of the way (a
// server that stopped answering), or never started (no device, say).
enum class PlayOutcome { Played, GivenUp, NotOpened };

// Plays a WaveImage synchronously: returns only after the last sample has
// been played, and never reads the image afterwards. A sound that cannot be
// played is skipped silently: the listener is told nothing, and the outcome
// lets the caller keep a check apart that was never heard whole. `image`
// is the buffer that holds it: the header's data size says how much of it
// is sound, and nothing past the buffer's end is ever read.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  virtual PlayOutcome Play(std::span<const std::uint8_t> image) = 0;
  // The ear that the sounds from now on go to. The images stay mono either
  // way; a player without channels of its own plays them as they are.
  virtual void SetEar(Ear) {}
};

// Data size announced by an image's header (bytes 40 to 43); 0 when the
// buffer holds no whole header.
std::uint32_t WaveDataSize(std::span<const std::uint8_t> image);

// The header and the samples that the header announces, cut to the buffer:
// what is played or saved of a buffer.
std::span<const std::uint8_t> WaveImageBytes(std::span<const std::uint8_t> image);

}  // namespace kelvora
