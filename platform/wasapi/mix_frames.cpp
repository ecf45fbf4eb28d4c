#include "platform/wasapi/mix_frames.h"

#include <bit>
#include <cstring>

namespace kelvora::platform::wasapi {
namespace {

std::size_t BytesPerSample(SampleKind kind) {
  switch (kind) {
    case SampleKind::Int16:
      return 2;
    case SampleKind::Int24:
      return 3;
    case SampleKind::Int32:
    case SampleKind::Float32:
      return 4;
  }
  return 2;
}

void StoreLittleEndian(std::uint32_t value, std::size_t bytes, std::uint8_t* at) {
  for (std::size_t k = 0; k < bytes; ++k) at[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

void StoreSample(std::int16_t sample, SampleKind kind, std::uint8_t* at) {
  const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(sample));
  switch (kind) {
    case SampleKind::Int16:
      StoreLittleEndian(bits, 2, at);
      break;
    case SampleKind::Int24:
      StoreLittleEndian(bits << 8, 3, at);
      break;
    case SampleKind::Int32:
      StoreLittleEndian(bits << 16, 4, at);
      break;
    case SampleKind::Float32:
      // A 16-bit integer over a power of two is exact in a float's 24 bits.
      StoreLittleEndian(std::bit_cast<std::uint32_t>(static_cast<float>(sample) / 32768.0f), 4, at);
      break;
  }
}

}  // namespace

std::size_t BytesPerFrame(FrameLayout layout) {
  return BytesPerSample(layout.kind) * layout.channels;
}

void WriteFrames(std::span<const std::uint8_t> samples, Ear ear, FrameLayout layout,
                 std::span<std::uint8_t> out) {
  const std::size_t sampleBytes = BytesPerSample(layout.kind);
  const std::size_t frameBytes = BytesPerFrame(layout);
  const bool mono = layout.channels == 1;
  const bool left = mono || ear != Ear::Right;
  const bool right = !mono && ear != Ear::Left;
  const std::size_t frames = samples.size() / 2;
  std::memset(out.data(), 0, frames * frameBytes);
  for (std::size_t k = 0; k < frames; ++k) {
    const auto sample = static_cast<std::int16_t>(samples[2 * k] | samples[2 * k + 1] << 8);
    std::uint8_t* frame = out.data() + k * frameBytes;
    if (left) StoreSample(sample, layout.kind, frame);
    if (right) StoreSample(sample, layout.kind, frame + sampleBytes);
  }
}

}  // namespace kelvora::platform::wasapi
