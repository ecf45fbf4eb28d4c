#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvora {

// Sizes of the images the program renders and of the buffers that hold them.
// Every buffer is 1024 bytes larger than its sound's data; the spare tail is
// never written, played or saved.
inline constexpr std::uint32_t kWaveHeaderSize = 44;
inline constexpr std::uint32_t kSampleRate = 48000;
inline constexpr std::size_t kBufferSpare = 1024;

inline constexpr std::uint32_t kTwoSecondDataSize = 192000;  // pattern, tones, silence, export
inline constexpr std::uint32_t kChimeDataSize = 48000;
inline constexpr std::uint32_t kBuzzDataSize = 64000;
inline constexpr std::uint32_t kVolumeSampleDataSize = 96000;

inline constexpr std::size_t kTestWaveBufferSize = kTwoSecondDataSize + kBufferSpare;  // 193024
inline constexpr std::size_t kChimeWaveBufferSize = kChimeDataSize + kBufferSpare;     // 49024
inline constexpr std::size_t kBuzzWaveBufferSize = kBuzzDataSize + kBufferSpare;       // 65024
inline constexpr std::size_t kSampleWaveBufferSize = kVolumeSampleDataSize + kBufferSpare;  // 97024
inline constexpr std::size_t kExportWaveBufferSize = kTwoSecondDataSize + kBufferSpare;  // 193024

// Where sound buffers come from. Tests install their own to make an
// allocation fail or to count releases; the default uses malloc and free.
class BufferAllocator {
 public:
  virtual ~BufferAllocator() = default;
  virtual std::uint8_t* Allocate(std::size_t size) = 0;
  virtual void Release(std::uint8_t* block) = 0;
};

// Installs `allocator` for every buffer taken from now on; nullptr restores
// malloc and free. A buffer is always released by the allocator that made it.
void SetBufferAllocator(BufferAllocator* allocator);

// A block of bytes that holds one WaveImage (header, samples, spare tail),
// taken once by its owner and reused for every render.
class WaveBuffer {
 public:
  WaveBuffer() = default;
  ~WaveBuffer() { Release(); }
  WaveBuffer(const WaveBuffer&) = delete;
  WaveBuffer& operator=(const WaveBuffer&) = delete;

  // Takes a block of `size` bytes; false (and no block) when none can be had.
  bool Allocate(std::size_t size);
  // Gives the block back; harmless when there is none.
  void Release();

  bool IsAllocated() const { return m_data != nullptr; }
  std::uint8_t* data() { return m_data; }
  const std::uint8_t* data() const { return m_data; }
  std::size_t size() const { return m_size; }
  // The whole block, for the renderers and the players.
  std::span<std::uint8_t> bytes() { return {m_data, m_size}; }
  std::span<const std::uint8_t> bytes() const { return {m_data, m_size}; }

 private:
  std::uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
  BufferAllocator* m_allocator = nullptr;
};

}  // namespace kelvora
