#pragma once

#include <cstdint>

namespace kelvora {

// The frequencies a check may test: 20 to 22000 Hz on a 10 Hz grid (every
// step of the staircase and of the manual commands is a multiple of 10).
inline constexpr std::int32_t kLowestFrequency = 20;
inline constexpr std::int32_t kHighestFrequency = 22000;
inline constexpr std::int32_t kFrequencyGrid = 10;
inline constexpr std::int32_t kStartFrequency = 8000;

}  // namespace kelvora
