#pragma once

#include <cstdint>

namespace kelvora {

// The sound's volume unit: 300 to a percent, 30000 at full scale.
inline constexpr std::int32_t kVolumePerPercent = 300;
// Every run starts at 30 %.
inline constexpr std::int32_t kStartVolume = 30 * kVolumePerPercent;

constexpr int VolumePercent(std::int32_t volume) { return volume / kVolumePerPercent; }

}  // namespace kelvora
