#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kelvora {

// Every sound is computed sample by sample, in double precision and in a fixed
// order of operations, into a buffer that holds a complete RIFF/WAVE file
// (44-byte header, then signed 16-bit little-endian mono samples at 48 kHz).
// The renderers take what their callers give; the callers check their input.
// Each renderer is handed the whole buffer and writes nothing into one too
// small for its image.

// Writes bytes 0 to 43 of `image` for `dataSize` bytes of samples.
void WriteWaveHeader(std::span<std::uint8_t> image, std::uint32_t dataSize);

// Truncates `value` toward zero and stores its low 16 bits at `position`
// (low byte first). The caller advances the position by 2.
void StoreSample(std::span<std::uint8_t> image, std::uint32_t position, double value);

// Two seconds in five 400 ms slots; slot k starts with a 200 ms burst when
// slots[k - 1] is set. Fills 192044 bytes.
void RenderTestPattern(std::span<std::uint8_t> image, std::int32_t frequency, std::int32_t volume,
                       const std::array<bool, 5>& slots);

// Two seconds of tone at `frequency` with 1000-sample fades. Fills 192044 bytes.
void RenderContinuousTone(std::span<std::uint8_t> image, std::int32_t frequency,
                          std::int32_t volume);

// Two seconds of zero samples. Fills 192044 bytes.
void RenderSilence(std::span<std::uint8_t> image);

// The right-answer chime (48044 bytes) and then the wrong-answer buzz (64044 bytes).
void RenderChimeAndBuzz(std::span<std::uint8_t> chime, std::span<std::uint8_t> buzz,
                        std::int32_t volume);

// The one-second sample of the volume dialog. Fills 96044 bytes.
void RenderVolumeSample(std::span<std::uint8_t> image, std::int32_t volume);

// Two seconds of tone at any `frequency` in hertz, with or without fades.
// Fills 192044 bytes.
void RenderExportTone(std::span<std::uint8_t> image, double frequency, std::int32_t volume,
                      bool fade);

}  // namespace kelvora
