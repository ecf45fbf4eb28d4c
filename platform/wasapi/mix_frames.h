#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/ear.h"

namespace kelvora::platform::wasapi {

// How the audio engine stores one sample of a frame: little-endian integers
// of 16, 24 (packed) or 32 bits, or 32-bit floats.
enum class SampleKind { Int16, Int24, Int32, Float32 };

// The frames a shared-mode stream takes: its sample kind and its channels in
// the engine's order (front left, then front right, where there are two).
struct FrameLayout {
  SampleKind kind = SampleKind::Int16;
  std::uint32_t channels = 2;
};

std::size_t BytesPerFrame(FrameLayout layout);

// Writes the mono 16-bit samples `samples` (little-endian, as a WaveImage
// holds them) into `out` as frames of `layout`, one frame per sample: the
// sample on the ear's channel and 0 on the other, on both front channels for
// Ear::Both, on the one channel of a mono layout whatever the ear, and 0 on
// every further channel. Every value arrives unchanged: a float carries
// s / 32768 exactly, a wider integer s shifted to its top bits. `out` holds
// at least samples.size() / 2 frames.
void WriteFrames(std::span<const std::uint8_t> samples, Ear ear, FrameLayout layout,
                 std::span<std::uint8_t> out);

}  // namespace kelvora::platform::wasapi
