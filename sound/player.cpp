#include "sound/player.h"

#include <algorithm>

#include "sound/wave_buffer.h"

namespace kelvora {

std::uint32_t WaveDataSize(std::span<const std::uint8_t> image) {
  if (image.size() < kWaveHeaderSize) return 0;
  return static_cast<std::uint32_t>(image[40]) | static_cast<std::uint32_t>(image[41]) << 8 |
         static_cast<std::uint32_t>(image[42]) << 16 | static_cast<std::uint32_t>(image[43]) << 24;
}

std::span<const std::uint8_t> WaveImageBytes(std::span<const std::uint8_t> image) {
  if (image.size() < kWaveHeaderSize) return {};
  const std::size_t announced = std::size_t{kWaveHeaderSize} + WaveDataSize(image);
  return image.first(std::min(announced, image.size()));
}

}  // namespace kelvora
