#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/player.h"
#include "sound/wave_buffer.h"

namespace kelvora::testing {

// Every buffer starts filled with this byte, so a test sees which bytes a
// render wrote (zeros included) and that the spare tail kept its content.
inline constexpr std::uint8_t kCanary = 0xA5;

// A whole sound buffer as its owner would hold it, read back sample by sample.
class RenderedImage {
 public:
  explicit RenderedImage(std::size_t bufferSize) : m_bytes(bufferSize, kCanary) {}

  std::span<std::uint8_t> data() { return m_bytes; }
  operator std::span<std::uint8_t>() { return m_bytes; }  // NOLINT: handed to renderers as is
  const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

  std::uint32_t DataSize() const { return WaveDataSize(m_bytes); }
  std::size_t SampleCount() const { return DataSize() / 2; }
  std::size_t ImageSize() const { return kWaveHeaderSize + DataSize(); }

  std::int16_t Sample(std::size_t k) const {
    const std::size_t at = kWaveHeaderSize + 2 * k;
    return static_cast<std::int16_t>(m_bytes[at] | m_bytes[at + 1] << 8);
  }

  std::uint32_t Le32(std::size_t at) const {
    return static_cast<std::uint32_t>(m_bytes[at]) |
           static_cast<std::uint32_t>(m_bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(m_bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(m_bytes[at + 3]) << 24;
  }

  // The largest |sample| in [first, first + count).
  int MaxMagnitude(std::size_t first, std::size_t count) const {
    int peak = 0;
    for (std::size_t k = first; k < first + count; ++k) {
      const int s = Sample(k);
      peak = s < 0 ? (-s > peak ? -s : peak) : (s > peak ? s : peak);
    }
    return peak;
  }
  int MaxMagnitude() const { return MaxMagnitude(0, SampleCount()); }

  bool AllZero(std::size_t first, std::size_t count) const {
    for (std::size_t k = first; k < first + count; ++k) {
      if (Sample(k) != 0) return false;
    }
    return true;
  }

  // The 980 bytes after the image (buffer size minus data size minus header)
  // still hold the canary.
  bool TailUntouched() const {
    for (std::size_t at = m_bytes.size() - (kBufferSpare - kWaveHeaderSize); at < m_bytes.size();
         ++at) {
      if (m_bytes[at] != kCanary) return false;
    }
    return true;
  }

 private:
  std::vector<std::uint8_t> m_bytes;
};

}  // namespace kelvora::testing
