#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/ear.h"

namespace kelvora {

// Bytes of the two-channel image made from the mono `image` (header and
// samples, as WaveImageBytes gives them).
std::size_t TwoChannelImageSize(std::span<const std::uint8_t> image);

// Writes into `out` (TwoChannelImageSize bytes) a complete WAVE image of two
// channels, left first, at the same rate: every sample of `image` on the
// channel of `ear` and 0 on the other; both channels for Ear::Both. For
// players that take an image whole, such as the multimedia library's.
void WriteTwoChannelImage(std::span<const std::uint8_t> image, Ear ear,
                          std::span<std::uint8_t> out);

}  // namespace kelvora
