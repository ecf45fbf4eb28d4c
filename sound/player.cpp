#include "sound/player.h"

namespace kelvora {

std::uint32_t WaveDataSize(const std::uint8_t* image) {
  return static_cast<std::uint32_t>(image[40]) | static_cast<std::uint32_t>(image[41]) << 8 |
         static_cast<std::uint32_t>(image[42]) << 16 | static_cast<std::uint32_t>(image[43]) << 24;
}

}  // namespace kelvora
