#include "sound/two_channel_image.h"

#include <algorithm>
#include <cstring>

#include "sound/player.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

constexpr std::size_t kHeader = 44;

void Store32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace

std::size_t TwoChannelImageSize(std::span<const std::uint8_t> image) {
  const std::span<const std::uint8_t> sound = WaveImageBytes(image);
  if (sound.size() < kHeader) return kHeader;
  return kHeader + 2 * ((sound.size() - kHeader) / 2 * 2);
}

void WriteTwoChannelImage(std::span<const std::uint8_t> image, Ear ear,
                          std::span<std::uint8_t> out) {
  const std::span<const std::uint8_t> sound = WaveImageBytes(image);
  const std::size_t samples = sound.size() < kHeader ? 0 : (sound.size() - kHeader) / 2;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(samples * 4);
  std::memcpy(out.data(), sound.data(), std::min(sound.size(), kHeader));
  Store32(out, 4, dataSize + 36);
  out[22] = 2;  // channels
  out[23] = 0;
  Store32(out, 28, kSampleRate * 4);  // byte rate
  out[32] = 4;                        // block align
  out[33] = 0;
  Store32(out, 40, dataSize);
  const bool left = ear != Ear::Right;
  const bool right = ear != Ear::Left;
  for (std::size_t k = 0; k < samples; ++k) {
    const std::uint8_t low = sound[kHeader + 2 * k];
    const std::uint8_t high = sound[kHeader + 2 * k + 1];
    std::uint8_t* frame = out.data() + kHeader + 4 * k;
    frame[0] = left ? low : 0;
    frame[1] = left ? high : 0;
    frame[2] = right ? low : 0;
    frame[3] = right ? high : 0;
  }
}

}  // namespace kelvora
